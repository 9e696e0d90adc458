#include "MakePattern.h"

#include "AnsiCase.h"
#include "AsciiText.h"
#include "CharMaker.h"
#include "ListCommands.h"
#include "MessageBox.h"

#include <chrono>

namespace quillon {
namespace {

const char* const kMakeTitle = "ファイル作成";

// The two output names in the order the messages name them: pattern file, then bitmap.
std::string QuotedPair(int CreateMode, const std::string& Suffix, const char* Between) {
    return "\"" + PatternFileName(CreateMode, Suffix) + "\"" + Between + "\"" + CharBitmapName(CreateMode, Suffix) +
           "\"";
}

// Milliseconds as seconds with three decimals.
std::string Seconds(std::int64_t Ms) {
    std::string frac = IntToStr(Ms % 1000);
    return IntToStr(Ms / 1000) + "." + std::string(3 - frac.size(), '0') + frac;
}

} // namespace

std::string BitmapListSuffix(const std::filesystem::path& ListFile) {
    const std::string name = UpperCaseFileName(ListFile.filename().string());
    for (char d = '1'; d <= '7'; ++d) {
        const std::string suffix(1, d);
        if (name == "BMP" + suffix + ".LST" || name == "ZBMP" + suffix + ".LST") return suffix;
    }
    return {};
}

bool MakePatternFromBitmapList(const std::vector<std::string>& Lines, const std::filesystem::path& FileName,
                               const TMakerOptions& Options, TListCommandDialogs& Dialogs) {
    if (FileName.empty()) return false;
    TMakerJob job;
    job.Suffix = BitmapListSuffix(FileName);
    job.CreateMode = Options.CreateMode;
    job.UseDecColorDepth = Options.UseDecColorDepth;
    job.DecColorDepthMethod = Options.DecColorDepthMethod;
    job.OutputFolder = FileName.parent_path();

    const std::string question =
        QuotedPair(job.CreateMode, job.Suffix, "と") +
        "の作成を開始します。\r\n(編集中のﾌｧｲﾙと同じﾌｫﾙﾀﾞに上書き作成されます)\r\nよろしいですか？";
    if (Messages().Show(question, "確認", TMsgIcon::Question, TMsgButtons::YesNo) != TMsgResult::Yes) return false;

    std::string error;
    ParseBitmapList(FileName, Lines, job.Entries, error, job.CreateMode);
    if (!error.empty()) {
        ShowError(error);
        return false;
    }

    const auto started = std::chrono::steady_clock::now();
    switch (Dialogs.RunMaker(job)) {
    case mrMade: {
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
        Messages().Show(QuotedPair(job.CreateMode, job.Suffix, " と ") + " の作成が完了しました\r\n所要時間：" +
                            Seconds(ms) + "[s]",
                        kMakeTitle, TMsgIcon::Information, TMsgButtons::OK);
        return true;
    }
    case mrCancelled:
        Messages().Show("処理を中止しました", kMakeTitle, TMsgIcon::Information, TMsgButtons::OK);
        return false;
    default: return false;
    }
}

} // namespace quillon
