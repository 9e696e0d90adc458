#pragma once
// A new file written beside the file it replaces and renamed over it, so that the target is always
// complete: the old file or the whole new one.
//
// The new file lives under a temporary name in the target's folder: "." + the target's name +
// ".quillon." + six random letters or digits. A name too long for that (the folder takes names of
// at most kMaxNameBytes bytes) keeps as much of its start as fits, cut before a UTF-8 character,
// followed by "~" and eight hex digits of a hash of the whole name; so every name that can be
// opened has a temporary name, and each target has its own. While it is in use a temporary is
// locked (flock), and a lock never outlives its process.
//
// A temporary that a killed run left behind is stale: a regular file (not a link) with the
// target's own temporary name, owned by this user and locked by nobody. Each new temporary first
// removes the stale ones of its target; nothing else is ever removed, neither another target's
// temporaries nor another user's, nor one still being written.
//
// A target that is a symbolic link is followed: the file it names is replaced, and the link stays.
#include "Streams.h"

#include <filesystem>
#include <functional>
#include <string>

namespace quillon {

class TReplacingFile {
public:
    static constexpr std::size_t kMaxNameBytes = 255;

    // Creates the temporary with the target's permissions (those of a new file when there is
    // none). EFCreateError, with its cause, when the folder takes no new file.
    explicit TReplacingFile(const std::filesystem::path& Target);
    ~TReplacingFile(); // removes what this object made and did not commit
    TReplacingFile(const TReplacingFile&) = delete;
    TReplacingFile& operator=(const TReplacingFile&) = delete;

    const std::filesystem::path& Target() const { return FTarget; } // the file replaced, links followed
    const std::filesystem::path& TempName() const { return FTemp; } // where the new file is written
    const std::filesystem::path& KeptName() const { return FOld; }  // the old target's link; empty when none

    // Keeps the old target under a second temporary name (a hard link, so no byte is copied) so
    // that Restore can put it back after Commit. False when the file system has no hard links;
    // true when there is no old target.
    bool KeepOld();
    // Renames the new file over the target: 0, or the system's error number (nothing changed).
    int Commit();
    // After Commit: the old target kept by KeepOld comes back over the new file, or the new file
    // goes when there was no old one. False when that failed or KeepOld was not called (the new
    // file stays in place).
    bool Restore();

    // The start of the target's temporaries: "." + name + ".quillon.", or its shortened form.
    static std::string TemporaryPrefix(const std::string& FileName);
    // Removes the stale temporaries of Target (see above).
    static void RemoveStaleTemporaries(const std::filesystem::path& Target);

private:
    std::filesystem::path FTarget;
    std::filesystem::path FTemp;
    TFileHandle FTempLock;      // open on the new file, locked, until it is committed or removed
    std::filesystem::path FOld; // the old target's hard link; empty when none was made
    TFileHandle FOldLock;       // open on the old target, locked, while FOld exists
    bool FKept = false;         // KeepOld was called
    bool FHadOld = false;       // KeepOld found an old target
    bool FCommitted = false;
};

// Writes Name through Write(stream) as a TReplacingFile, flushed to the disk, then committed. The
// temporary file is removed on failure. Raises EFCreateError (the folder does not take a new file)
// or EWriteError, each with its cause and naming Name, and whatever Write raises.
void SaveFileReplacing(const std::filesystem::path& Name, const std::function<void(TStream&)>& Write);

} // namespace quillon
