#pragma once
// Why a file could not be read or written, in words a user can act on: the cause line that file
// messages add under their own text and the file's name.
#include <filesystem>
#include <string>

namespace quillon {

// Where a permission was missing: on the file itself or on the folder that holds it (creating,
// renaming and removing files need the folder's).
enum class TErrorPlace { File, Folder };

// The cause of the system error number Error ("ディスクの空き容量が足りません" ...); a number without
// a text of its own gives the system's description.
std::string ErrorCause(int Error, TErrorPlace Place = TErrorPlace::File);

// The cause given for a file that is neither a folder nor a regular file (a FIFO, a device).
inline constexpr const char* kNotARegularFile = "通常のファイルではありません";

// Why the existing file Name cannot be replaced by a new file written for it: it is a folder, it is
// not a regular file, or it may not be written. Empty when it can, or when there is none.
std::string ReplaceRefusal(const std::filesystem::path& Name);

// A file message: Text, the file's name (its bytes as FileNameToUtf8 shows them) and, when given,
// the cause, one to a line.
std::string FileMessage(const std::string& Text, const std::filesystem::path& Name, const std::string& Cause);

} // namespace quillon
