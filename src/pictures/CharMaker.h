#pragma once
// The character maker: from the entries of a bitmap list it writes the character bitmap (the cell
// sheet) and the pattern file into one folder. It collects the cells (classic or Vantor, 24- or
// 8-bit by the settings), reduces the sheet's colours when asked, and writes both files.
//
// Both files are first written under temporary names beside their targets and flushed to the disk;
// only when both were written is each renamed straight over its target, the bitmap first. So each
// target is always a complete file, old or new, and a failed or cancelled run before the renames
// leaves the folder as it was. Before its rename the old bitmap is kept under a temporary name (a
// hard link, no copy); should the pattern's rename fail, the kept bitmap is renamed back over the
// new one and both old files stay. Only on a file system without hard links (or when that renaming
// back fails) does such a failure leave the new bitmap beside the old pattern.
// Before the first rename a record of the pair (".CHARA.BMP.quillon-pair" beside the bitmap) names
// the new files, the targets and the kept bitmap. A run killed between the renames leaves the new
// bitmap beside the old pattern and the record; the next run, before it writes anything (which
// would remove those files as stale temporaries), renames the new pattern into place (or, failing
// that, the kept bitmap back) and removes the record. A run killed before the first rename leaves
// the old pair. The maker removes no file but its own temporaries.
// A target that is a symbolic link is written through it: the file it names is replaced.
// A target that exists but cannot be replaced (a folder, a FIFO, no permission) is refused, with
// the cause, before anything is written.
//
// The maker runs on the caller's thread and reports its progress through the events; after each
// report it calls OnProcessMessages, where a window may handle input and call Cancel, which the
// maker sees at once. Outcomes and failures are shown through the message service.
#include "BitmapList.h"

#include <filesystem>
#include <functional>
#include <string>

namespace quillon {

// The outcome of a run, as the modal results of the maker's dialog.
enum TMakeResult { mrMade = 1, mrCancelled = 2, mrFailed = 3 };

// Names of the two files for a creation mode (2 Vantor, else classic) and list suffix ("" or "1".."7").
std::string CharBitmapName(int createMode, const std::string& suffix);
std::string PatternFileName(int createMode, const std::string& suffix);
// "No 007" in creation mode 0, "No 00007" otherwise.
std::string PictureNumberText(int createMode, std::int32_t number);
// The status line of a colour-reduction method.
std::string ReductionCaption(int method);

class TCharMaker {
public:
    std::filesystem::path OutputFolder;
    std::string Suffix; // the %s of the file names
    TBitmapListEntries Entries;
    bool UseDecColorDepth = false;
    int DecColorDepthMethod = 0; // 0..2 reduce with that method, 3 keep the pictures' palette
    int CreateMode = 0;          // 0, 1 classic, 2 Vantor
    int Scale = 1;               // given to the pattern before it is written

    // Events (each fires only when assigned).
    std::function<void(const std::string& caption, int entries)> OnStart;
    std::function<void(int position, std::int32_t number, const std::filesystem::path& path)> OnPicture;
    std::function<void()> OnCollected;
    std::function<void(const std::string& caption)> OnReductionStart;
    std::function<void(int percent)> OnReduction;
    std::function<void()> OnProcessMessages;
    // Fires between the renames of the bitmap and of the pattern (tests fail or end the run there).
    std::function<void()> OnBitmapCommitted;

    // Asks the running maker to stop at its next progress report.
    void Cancel() { FCancel = true; }
    bool CancelRequested() const { return FCancel; }

    // One run: the files are written (mrMade), the user cancelled (mrCancelled) or a failure was
    // shown (mrFailed).
    TMakeResult Run();

private:
    bool Pump(); // processes messages; true when cancel was asked for

    bool FCancel = false;
};

} // namespace quillon
