#pragma once
// Item hints: what a field of a list line means.
//
// The item hint command looks the keyword of the field under the caret up in the hint file of the
// list kind, in the first of the hint folders that holds it (the program's own folder, the user's
// data folder, the installation's data folder: TQuillonRootWin::HintFolders); the quick description decodes a few
// fields into words at once: the De, Ci, Rx, Ry, CL, G and Flag fields and the three boxes of a motion line, the Cancel
// and Std fields of a command line and the condition codes of an enemy list. The field and its kind come from the list
// colourer's one-token-per-field parse (ListTokens.h, or the editor's token queries).
//
// Descriptions are UTF-8 with CR LF between their lines; a token quoted in one is converted from CP932.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The hint file of a list kind, empty for plain text.
std::string_view ItemHintFile(int ListKind);
// The keyword of a token kind in the hint file of a list kind, empty when there is none.
std::string_view ItemHintKeyword(int ListKind, int TokenKind);
// Whether the item hint command is offered for a token kind of a list kind.
bool HasItemHint(int ListKind, int TokenKind);

// The item hint command's look-up in the kind's hint file in the first of Folders that holds one
// (its name in any letter case). True when the viewer is to show Title and Body. A file that no
// folder holds is reported by the look-up as missing from the first folder; an entry whose title
// or body is empty is reported here; a token kind without a keyword and a keyword the file lacks end
// silently.
bool ItemHintLookup(const std::vector<std::filesystem::path>& Folders, int ListKind, int TokenKind, std::string& Title,
                    std::string& Body);

// Quick descriptions of the token Token (trimmed) of kind Kind; false when the field has none.
bool MotionLineHint(int Kind, std::string_view Token, std::string& Text);
// Command and Vantor command lines alike.
bool CommandLineHint(int Kind, std::string_view Token, std::string& Text);
// Enemy lists and Quessa enemy sources alike.
bool EnemyConditionHint(int Kind, std::string_view Token, std::string& Text);
// The description for a list kind; any kind without descriptions has none.
bool ItemDescription(int ListKind, int Kind, std::string_view Token, std::string& Text);

} // namespace quillon
