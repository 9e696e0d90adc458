#pragma once
// The editor's text on the system clipboard.
//
// A copy puts three things on the clipboard: the text as Unicode for other programs, the raw CP932
// bytes under our own MIME type, and for a box selection the box marker under the name
// "TEditor Box Type" (holding the same bytes followed by a NUL). A paste takes the raw bytes when
// they are there, so text copied and pasted inside the program keeps every byte; text from other
// programs is converted to CP932.
//
// Text from outside (other programs' clipboard text, input-method results) may hold characters that
// CP932 does not have. They are never dropped silently: each becomes "?" and the caller is told how
// many were replaced, so that it can tell the user.
#include <QString>

#include <string>

class QClipboard;
class QMimeData;

namespace quillon {

// The MIME type of the raw CP932 bytes.
extern const char Cp932MimeType[];
// The MIME type of the box marker; on Windows it is the registered format "TEditor Box Type".
extern const char BoxMimeType[];

// Text converted to CP932; Replaced gets the number of characters that became "?".
std::string OutsideTextToCp932(const QString& Text, int& Replaced);

// The same forms of text in any MIME data (a drag's as well as the clipboard's): Text as Unicode and
// as raw bytes; whether Data holds text; Data's text as CP932 bytes, Replaced as for ClipboardText.
void SetMimeText(QMimeData& Data, const std::string& Text);
bool MimeHasText(const QMimeData& Data);
std::string MimeText(const QMimeData& Data, int& Replaced);

void SetClipboardText(QClipboard& Clipboard, const std::string& Text, bool Box);
bool ClipboardHasText(const QClipboard& Clipboard);
bool ClipboardHasBox(const QClipboard& Clipboard);
// The clipboard's text as CP932 bytes (the raw bytes when the program put them there); Replaced as
// for OutsideTextToCp932 (0 for raw bytes).
std::string ClipboardText(const QClipboard& Clipboard, int& Replaced);

} // namespace quillon
