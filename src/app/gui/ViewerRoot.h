#pragma once
// Stands in for the root window until the edit windows exist: every list opens read-only in a
// viewer window of its own, with its kind in the title. It never shows itself; the program ends
// when its last viewer closes.
#include "HandOver.h"
#include "ListFiles.h"

#include <QPointer>
#include <string>
#include <string_view>
#include <vector>

class QPlainTextEdit;
class QWidget;

namespace quillon {

class TViewerRoot : public THandOverTarget {
public:
    TViewerRoot() = default;
    ~TViewerRoot() override;  // closes the viewers still open
    TViewerRoot(const TViewerRoot&) = delete;
    TViewerRoot& operator=(const TViewerRoot&) = delete;

    // Opens the first command-line parameter; without one, or when it cannot be read, an empty
    // viewer, so that the program never runs without a window.
    void FormCreate(const std::vector<std::string>& Params);
    // The hand-over data of a later start.
    void WMCopyData(std::string_view Data);

    bool ActivateWindowForFile(const std::string& FileName) override;
    bool LoadListFile(std::string& FileName, std::vector<std::string>* Lines) override;
    void OpenNewWindow(const std::string& FileName, const std::vector<std::string>* Lines, int KindHint) override;

    // The open viewers in the order of opening.
    int WindowCount() const;
    QWidget* WindowAt(int Index) const;
    const TRecentFiles& History() const { return FHistory; }

private:
    struct TViewer {
        QPointer<QPlainTextEdit> Window;  // null once the user has closed it (closing deletes it)
        std::string FileName;             // absolute and long; empty for an unnamed viewer
    };
    std::vector<TViewer> OpenViewers() const;

    std::vector<TViewer> FWindows;
    TRecentFiles FHistory;
};

} // namespace quillon
