#pragma once
// Relation jumps: from a field that names a motion frame to the line of that frame.
//
// In a motion line the To field names the frame that follows (-1: the next number) and, for a frame
// that branches, the Hit field the frame it branches to; in a command line the AmnNum field names
// the frame that the command starts, in the motion list beside the command list. The window asks
// for the target here and moves its caret (or opens the other file) itself.
//
// Frames are looked for from the fourth line on: the first three lines of a motion list are its
// header. A target that names no frame, or a frame or motion list that does not exist, is reported.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Whether the jump is offered: nothing selected and the caret on To (51) or Hit (67) of a motion
// list, or on AmnNum (58) of a command or Vantor command list.
bool CanGoRelation(int ListKind, int TokenKind, bool HasSelection);

// The frame that field TokenKind of the motion line Line refers to, or nothing.
std::optional<int> MotionJumpTarget(std::string_view Line, int TokenKind);

// The first line from index 3 on whose motion line has the number Frame; -1 when there is none.
int FindFrameRow(const std::vector<std::string>& Lines, int Frame);
// As FindFrameRow; a frame that is not there is reported.
int GoToFrame(const std::vector<std::string>& Lines, int Frame);

// The jump within a motion list from the field TokenKind of line CaretRow: true with the line that
// the caret goes to (keeping its column, with no hit).
bool GoRelationInMotion(const std::vector<std::string>& Lines, int CaretRow, int TokenKind, int& TargetRow);

// The motion list that a command list (Vantor: a Vantor command list) refers to: the first of its
// neighbours MOTION*, ZMOTION* that exists (names compared without case), or nothing.
std::optional<std::filesystem::path> RelationTargetFile(const std::filesystem::path& CommandFile, bool Vantor);

// Where a jump from a command list goes: the window shows File (activating the window that already
// shows it, else opening it), then goes to the line of Frame (GoToFrame) and centres it.
struct TRelationTarget {
    std::filesystem::path File;
    int Frame = 0;
};

// The jump from the AmnNum field of a command line Line of the list FileName. A list without a
// motion list beside it is reported.
bool GoRelationFromCommand(std::string_view Line, int TokenKind, const std::filesystem::path& FileName,
                           TRelationTarget& Target);
bool GoRelationFromZCommand(std::string_view Line, int TokenKind, const std::filesystem::path& FileName,
                            TRelationTarget& Target);

// The top row that puts CaretRow in the middle of VisibleRows rows, or TopRow when the caret is not
// visible, the list is shorter than the window or the new top would leave the list.
int CenterCaretRow(int CaretRow, int TopRow, int VisibleRows, int LineCount);

} // namespace quillon
