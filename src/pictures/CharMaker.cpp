#include "CharMaker.h"

#include "AsciiText.h"
#include "ColorReduction.h"
#include "FileErrors.h"
#include "MessageBox.h"
#include "PatMake.h"
#include "ReplacingFile.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

namespace quillon {
namespace {

namespace fs = std::filesystem;

void Show(const std::string& text, const std::string& title, TMsgIcon icon) {
    Messages().Show(text, title, icon, TMsgButtons::OK);
}

std::string Quoted(const std::string& name) { return std::string("\"").append(name).append("\""); }

// The record of a pair of new files being renamed over their targets: the bitmap's new file, the
// pattern's, the two targets and the old bitmap kept beside them, each path ended by a NUL. It is
// written (and flushed) after both new files and before the first rename, and removed after the
// second. While it exists, those files are part of the pair and no stale temporaries: a run killed
// between the renames leaves the new bitmap beside the old pattern, and the next run, before it
// writes anything (which would remove them as stale), finishes the pair from the record.
class TPairRecord {
public:
    explicit TPairRecord(fs::path Name) : FName(std::move(Name)) {}

    // Records Bitmap and Pattern; raises EStreamError.
    void Write(const TReplacingFile& Bitmap, const TReplacingFile& Pattern) const {
        std::string text;
        for (const fs::path* path :
             {&Bitmap.TempName(), &Pattern.TempName(), &Bitmap.Target(), &Pattern.Target(), &Bitmap.KeptName()})
            text.append(path->string()).push_back('\0');
        SaveFileReplacing(FName, [&text](TStream& stream) { stream.WriteBuffer(text.data(), text.size()); });
    }
    void Remove() const {
        std::error_code ignored;
        fs::remove(FName, ignored);
    }
    // Finishes the pair that a killed run left, if any: when the bitmap was renamed, the new pattern
    // follows it (or, should that fail, the old bitmap goes back); otherwise the new files go and
    // the old pair stays. The record goes only when the pair matches.
    void Finish() const {
        std::ifstream in(FName, std::ios::binary);
        if (!in) return;
        std::vector<fs::path> paths;
        for (std::string path; std::getline(in, path, '\0');) paths.emplace_back(path);
        in.close();
        std::error_code ignored;
        if (paths.size() == 5) {
            const fs::path &bitmapTemp = paths[0], &patternTemp = paths[1], &bitmap = paths[2], &pattern = paths[3],
                           &kept = paths[4];
            if (fs::exists(bitmapTemp, ignored)) {
                fs::remove(bitmapTemp, ignored);
                fs::remove(patternTemp, ignored);
            } else if (fs::exists(patternTemp, ignored) && ::rename(patternTemp.c_str(), pattern.c_str()) != 0 &&
                       (kept.empty() || ::rename(kept.c_str(), bitmap.c_str()) != 0)) {
                return; // neither pair could be made whole: everything stays for a later run
            }
            if (!kept.empty()) fs::remove(kept, ignored);
        }
        Remove();
    }

private:
    fs::path FName;
};

// A file written beside its target under a temporary name and renamed over it (TReplacingFile),
// with the messages of the maker.
class TPendingFile {
public:
    TPendingFile(fs::path target, std::string name) : FTarget(std::move(target)), FName(std::move(name)) {}

    // Writes through save(temporary name); the failure message, or empty on success.
    template <class Save> std::string Write(Save save, const char* writeError) {
        // A target that exists but cannot be replaced is refused before anything is written.
        if (const std::string refusal = ReplaceRefusal(FTarget); !refusal.empty())
            return Quoted(FName) + "を開けません\r\n" + refusal;
        try {
            FFile.emplace(FTarget);
            save(FFile->TempName());
        } catch (const EFCreateError& e) {
            return WithCause(Quoted(FName) + "を開けません", e);
        } catch (const EFOpenError&) {
            return Quoted(FName) + "を開けません";
        } catch (const EWriteError& e) {
            return WithCause(Quoted(FName) + writeError, e);
        }
        return {};
    }
    // Keeps the old target so that Rollback can bring it back (as far as the file system allows).
    void KeepOld() { FFile->KeepOld(); }
    // Renames the written file over the target; the failure message, or empty. A failed commit
    // leaves the old target in place.
    std::string Commit() {
        const int error = FFile->Commit();
        if (error == 0) return {};
        return Quoted(FName) + "を開けません\r\n" + ErrorCause(error, TErrorPlace::Folder);
    }
    // Undoes a commit after KeepOld: the old target comes back (or the new file goes when there was none).
    void Rollback() { FFile->Restore(); }
    // Records this file and Partner, both written, before their renames; the failure message, or empty.
    std::string Record(const TPairRecord& Record, const TPendingFile& Partner) const {
        try {
            Record.Write(*FFile, *Partner.FFile);
        } catch (const EStreamError& e) {
            return WithCause(Quoted(FName) + "の書き込み中にエラーが発生しました", e);
        }
        return {};
    }

private:
    static std::string WithCause(std::string message, const EStreamError& e) {
        return e.Cause().empty() ? message : message.append("\r\n").append(e.Cause());
    }

    fs::path FTarget;
    std::string FName; // the target's name as messages show it
    std::optional<TReplacingFile> FFile;
};

} // namespace

std::string CharBitmapName(int createMode, const std::string& suffix) {
    return std::string(createMode == 2 ? "ZCHARA" : "CHARA").append(suffix).append(".BMP");
}

std::string PatternFileName(int createMode, const std::string& suffix) {
    return std::string(createMode == 2 ? "ZPATTERN" : "PATTERN")
        .append(suffix)
        .append(createMode == 2 ? ".ZPT" : ".PAT");
}

std::string PictureNumberText(int createMode, std::int32_t number) {
    std::string digits = IntToStr(number < 0 ? -static_cast<std::int64_t>(number) : number);
    const std::size_t width = createMode == 0 ? 3 : 5;
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return std::string(number < 0 ? "No -" : "No ").append(digits);
}

std::string ReductionCaption(int method) {
    switch (method) {
    case 1: return "256色限定減色処理中";
    case 2: return "24→16Bit ＆ 256色限定減色処理中";
    default: return "汎用パレットを適用中";
    }
}

bool TCharMaker::Pump() {
    if (OnProcessMessages) OnProcessMessages();
    return FCancel;
}

TMakeResult TCharMaker::Run() {
    const bool vantor = CreateMode == 2;
    const bool keepPalette = UseDecColorDepth && DecColorDepthMethod == 3;
    const std::string bitmapName = CharBitmapName(CreateMode, Suffix);
    const std::string patternName = PatternFileName(CreateMode, Suffix);
    const TPairRecord record(OutputFolder / ("." + bitmapName + ".quillon-pair"));
    record.Finish();
    if (OnStart)
        OnStart(Quoted(patternName) + "と" + Quoted(bitmapName) + "を作成中です", static_cast<int>(Entries.size()));
    try {
        TCollectProgress progress = [this](int position, std::int32_t number, const fs::path& path, bool& cancel) {
            if (OnPicture) OnPicture(position, number, path);
            cancel = Pump();
        };
        TCollectResult made = vantor ? (keepPalette ? CollectVantorPatternCells256(Entries, progress)
                                                    : CollectVantorPatternCells(Entries, progress))
                                     : (keepPalette ? CollectPatternCells256(Entries, progress, CreateMode)
                                                    : CollectPatternCells(Entries, progress, CreateMode));
        if (made.Error == "中止") {
            Show("処理を中断しました", "パターン作成", TMsgIcon::Information);
            return mrCancelled;
        }
        if (!made.Error.empty()) {
            Show(made.Error, "エラー", TMsgIcon::Error);
            return mrFailed;
        }
        if (OnCollected) OnCollected();

        bool tooManyColours = false;
        if (UseDecColorDepth && !keepPalette) {
            if (OnReductionStart) OnReductionStart(ReductionCaption(DecColorDepthMethod));
            bool reduced = ReduceColours(*made.Sheet, DecColorDepthMethod, [this](int percent, bool& cancel) {
                if (OnReduction) OnReduction(percent);
                cancel = Pump();
            });
            if (!reduced) {
                if ((DecColorDepthMethod != 1 && DecColorDepthMethod != 2) || FCancel) return mrCancelled;
                tooManyColours = true;
            }
        }

        TPendingFile bitmap(OutputFolder / bitmapName, bitmapName);
        TPendingFile pattern(OutputFolder / patternName, patternName);
        std::string error = bitmap.Write([&](const fs::path& name) { made.Sheet->SaveToFile(name); },
                                         "の書き込み中にエラーが発生しました");
        if (!error.empty()) {
            Show(error, "エラー", TMsgIcon::Error);
            return mrFailed;
        }
        made.Pattern->Scale = Scale;
        error = pattern.Write(
            [&](const fs::path& name) { vantor ? made.Pattern->SaveToFile(name) : made.Pattern->SaveToCharFile(name); },
            " の書き込み中にエラーが発生しました");
        if (tooManyColours) {
            std::string notice =
                DecColorDepthMethod == 1
                    ? "256色より多くの色が使われていたので減色できませんでした\r\n減色前の'"
                    : "16Bitカラーに減色しても256色より多くの色が使われていたので減色できませんでした\r\n減色前の'";
            Show(notice.append(bitmapName).append("' を保存しました"), "減色", TMsgIcon::Information);
        }
        if (error.empty()) {
            bitmap.KeepOld();
            error = bitmap.Record(record, pattern);
        }
        if (error.empty()) error = bitmap.Commit();
        if (error.empty()) {
            if (OnBitmapCommitted) OnBitmapCommitted();
            error = pattern.Commit();
        }
        if (!error.empty()) {
            bitmap.Rollback(); // both old files stay, or neither new one would match its partner
            record.Remove();
            Show(error, "エラー", TMsgIcon::Error);
            return mrFailed;
        }
        record.Remove();
        // The preview draws 8-bit sheets only: a sheet left at 24 bits must not pass in silence.
        if (!UseDecColorDepth)
            Show("減色しなかったので'" + bitmapName +
                     "' は24Bitカラーで保存しました\r\n24Bitカラーの画像はプレビューに表示されません",
                 "減色", TMsgIcon::Information);
        return mrMade;
    } catch (const std::exception& e) {
        ShowError(e.what());
        return mrFailed;
    }
}

} // namespace quillon
