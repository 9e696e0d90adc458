#include "FileErrors.h"

#include "Cp932.h"

#include <cerrno>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace quillon {

std::string ErrorCause(int Error, TErrorPlace Place) {
    switch (Error) {
    case ENOSPC:
    case EDQUOT: return "ディスクの空き容量が足りません";
    case EFBIG: return "ファイルの大きさが許された上限を超えます";
    case EACCES:
    case EPERM:
        return Place == TErrorPlace::Folder ? "フォルダに書き込む権限がありません"
                                            : "ファイルにアクセスする権限がありません";
    case EROFS: return "読み取り専用のドライブです";
    case ENOENT: return "ファイルまたはフォルダが見つかりません";
    case ENOTDIR: return "フォルダが見つかりません";
    case EISDIR: return "フォルダです";
    case EIO: return "入出力エラーが発生しました";
    case ENAMETOOLONG: return "ファイル名が長すぎます";
    default: return std::generic_category().message(Error);
    }
}

std::string ReplaceRefusal(const std::filesystem::path& Name) {
    struct stat st {};
    if (::stat(Name.c_str(), &st) != 0) return {};
    if (S_ISDIR(st.st_mode)) return ErrorCause(EISDIR);
    if (!S_ISREG(st.st_mode)) return kNotARegularFile;
    return ::access(Name.c_str(), W_OK) == 0 ? std::string() : ErrorCause(errno);
}

std::string FileMessage(const std::string& Text, const std::filesystem::path& Name, const std::string& Cause) {
    std::string message = Text + "\n" + FileNameToUtf8(Name.string());
    if (!Cause.empty()) message += "\n" + Cause;
    return message;
}

} // namespace quillon
