#pragma once
// List files in and out, and the recent-files list.
//
// A list file is Shift-JIS text: lines end at CR, LF or CR LF and a NUL byte ends the text. It is
// written back with CR LF after every line, its last one included, so a CR LF list saved unchanged
// is byte-identical. Saving writes a temporary file beside the list and renames it over the list,
// so a failed write never destroys the old file.
#include "Errors.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class EListFileOpen : public Exception {
public:
    EListFileOpen() : Exception("ファイルを開けませんでした") {}
};
class EListFileRead : public Exception {
public:
    EListFileRead() : Exception("ファイルの読み込みに失敗しました") {}
};
class EListFileWrite : public Exception {
public:
    EListFileWrite() : Exception("ファイルの書き込みに失敗しました") {}
};

struct TListText {
    std::vector<std::string> Lines;
    bool StoppedAtNul = false;  // a NUL byte ended the text before the end of the file
};

TListText SplitListText(std::string_view bytes);
std::string JoinListText(const std::vector<std::string>& lines);

TListText ReadListFile(const std::filesystem::path& path);
void WriteListFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

// Recent files, newest first, at most five.
class TRecentFiles {
public:
    static constexpr size_t kMaxCount = 5;

    // A name already present (the same file) moves to the top keeping its spelling; a new one is
    // inserted at the top and the oldest beyond five dropped.
    void Add(const std::string& name);
    const std::vector<std::string>& Items() const { return FItems; }
    std::string CommaText() const;
    void SetCommaText(std::string_view text);

private:
    std::vector<std::string> FItems;
};

// The absolute long form of a file name. Unlike the shell, never fails: a file that does not
// exist keeps its absolute, clean form.
std::string ShellLongFileName(const std::string& path);

// Reads FileName (made absolute) into *Lines and records it in History. Failures show their
// message box and give false, leaving *Lines as it was.
bool LoadListFile(std::string& FileName, std::vector<std::string>* Lines, TRecentFiles& History);

// Writes *Lines to FileName (made absolute), records it in History and gives in Kind the list's
// kind as its lines and new name tell. Failures show their message box and give false.
bool SaveListFile(std::string& FileName, const std::vector<std::string>* Lines, TRecentFiles& History, int& Kind);

} // namespace quillon
