#pragma once
// List files in and out, and the recent-files list.
//
// A list file is Shift-JIS text: lines end at CR, LF or CR LF and a NUL byte ends the text. It is
// written back with CR LF after every line, its last one included, so a CR LF list saved unchanged
// is byte-identical. Saving writes a temporary file beside the list, flushes it to the disk and
// renames it over the list, so a failed write never destroys the old file; the folder must
// therefore be writable, and a list in a read-only folder is refused with that cause.
//
// Reading opens without waiting (a FIFO never blocks the program) and takes regular files only,
// never more than kMaxListFileSize bytes of them: a FIFO, a device such as /dev/zero or a folder
// is refused with the open message. Writing refuses a text beyond the same size.
#include "Errors.h"
#include "FileErrors.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Each message is the failure's own text, then (when given) the file's name and the cause, one to
// a line.
class EListFileOpen : public Exception {
public:
    EListFileOpen() : Exception("ファイルを開けませんでした") {}
    EListFileOpen(const std::filesystem::path& Name, const std::string& Cause)
        : Exception(FileMessage("ファイルを開けませんでした", Name, Cause)) {}
};
class EListFileRead : public Exception {
public:
    EListFileRead() : Exception("ファイルの読み込みに失敗しました") {}
    EListFileRead(const std::filesystem::path& Name, const std::string& Cause)
        : Exception(FileMessage("ファイルの読み込みに失敗しました", Name, Cause)) {}
};
class EListFileWrite : public Exception {
public:
    EListFileWrite() : Exception("ファイルの書き込みに失敗しました") {}
    EListFileWrite(const std::filesystem::path& Name, const std::string& Cause)
        : Exception(FileMessage("ファイルの書き込みに失敗しました", Name, Cause)) {}
};

// The largest list file that is read or written: far beyond any real list, small enough that the
// editor stays responsive with it. A list whose text would exceed it is refused before anything is
// written, so no save leaves a file that cannot be opened again.
constexpr std::int64_t kMaxListFileSize = std::int64_t{256} * 1024 * 1024;

struct TListText {
    std::vector<std::string> Lines;
    bool StoppedAtNul = false; // a NUL byte ended the text before the end of the file
};

TListText SplitListText(std::string_view bytes);
// The size of the text JoinListText makes of lines.
std::int64_t ListTextSize(const std::vector<std::string>& lines);
std::string JoinListText(const std::vector<std::string>& lines);

// Raise EListFileOpen, EListFileRead or EListFileWrite, each naming the file and the cause.
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
    // The names as comma text of UTF-8, for the settings: a name whose bytes are not UTF-8 is
    // stored as its "file:" URL, which SetCommaText turns back into the same bytes.
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

// The open and save dialogs' filter (UTF-8, entries "name (patterns)" joined by ";;"): the files of
// every kind, each kind's entry from its record, and all files.
std::string ListFileFilter();

} // namespace quillon
