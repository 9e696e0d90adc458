#include "ComCtrlsXP.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMenu>
#include <gtest/gtest.h>

namespace quillon {
namespace {

class XPToolBarMenu : public ::testing::Test {
protected:
    XPToolBarMenu() {
        file = bar.AddMenuButton("File", &menu);
        plain = bar.AddMenuButton("Plain", nullptr);
        bar.resize(300, 30);
        bar.show();
        QApplication::processEvents();
        // The mouse of the offscreen screen may rest over a button.
        Leave(file);
        Leave(plain);
    }
    static void Enter(QWidget* W) {
        QEnterEvent event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(W, &event);
    }
    static void Leave(QWidget* W) {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(W, &event);
    }
    // The share of the button's pixels in the highlight colour.
    static double Highlighted(TXPToolBarMenuButton* Button) {
        const QImage image = Button->grab().toImage();
        const QRgb rgb = Button->palette().color(QPalette::Highlight).rgb();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == rgb;
        return static_cast<double>(n) / (image.width() * image.height());
    }

    TXPToolBarMenu bar;
    QMenu menu;
    TXPToolBarMenuButton* file = nullptr;
    TXPToolBarMenuButton* plain = nullptr;
};

TEST_F(XPToolBarMenu, HotAndPressedMenuButtonsPaintInTheHighlightColours) {
    EXPECT_LT(Highlighted(file), 0.1);
    Enter(file);
    EXPECT_TRUE(file->Hot());
    EXPECT_GT(Highlighted(file), 0.5);
    Leave(file);
    EXPECT_LT(Highlighted(file), 0.1);
    file->setDown(true);
    EXPECT_GT(Highlighted(file), 0.5);
}

TEST_F(XPToolBarMenu, OtherButtonsAndToolbarsDrawAsUsual) {
    struct Case {
        const char* Name;
        bool Flat, Captions, Menu;
        bool Custom;
    };
    const Case cases[] = {
        {"flat with captions", true, true, true, true},
        {"not flat", false, true, true, false},
        {"without captions", true, false, true, false},
        {"button without a menu", true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        bar.SetFlat(c.Flat);
        bar.SetShowCaptions(c.Captions);
        TXPToolBarMenuButton* button = c.Menu ? file : plain;
        Enter(button);
        EXPECT_EQ(bar.CustomDrawn(*button), c.Custom);
        EXPECT_EQ(Highlighted(button) > 0.5, c.Custom);
        Leave(button);
    }
}

TEST_F(XPToolBarMenu, MenuButtonPopsUpItsMenu) {
    EXPECT_EQ(file->menu(), &menu);
    EXPECT_EQ(file->popupMode(), QToolButton::InstantPopup);
    EXPECT_EQ(plain->menu(), nullptr);
}

} // namespace
} // namespace quillon
