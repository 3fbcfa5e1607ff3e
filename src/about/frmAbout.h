#pragma once

#include <QColor>
#include <QDialog>
#include <QLabel>
#include <QPoint>
#include <QPushButton>
#include <array>

#include "about/AboutBehaviour.h"
#include "common/AppShared.h"

namespace qb {

// The About window: the program's name, version, credits and disclaimer, a link to the
// home page, and a button that starts the system's information program. It is loaded afresh
// each time it is opened after its Exit. It draws; what it does is AboutBehaviour's.
class frmAbout final : public QDialog, private AboutView {
    Q_OBJECT
  public:
    explicit frmAbout(AppShared& shared);
    ~frmAbout() override;

    AboutBehaviour& behaviour() { return behaviour_; }

    // The controls, named as the program has always named them.
    QLabel* Image1;
    QLabel* lblTitle;
    std::array<QLabel*, 5> lblVersion;
    QLabel* Label3;
    QLabel* lblDisclaimer;
    QLabel* label_warning;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
    // The two lines of the etched separator, in pixels: from, to, colour and width.
    struct Line {
        QPoint from;
        QPoint to;
        QColor colour;
        int width;
    };
    std::array<Line, 2> Line1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void createControls();

    // AboutView
    int MsgBox(std::u16string_view text, int style) override;
    void unload() override;
    void setCaption(std::u16string_view text) override;
    void setTitle(std::u16string_view text) override;
    void setDisclaimer(std::u16string_view text) override;
    void showLinkBorder(bool shown) override;

    AppShared& shared_;
    AboutBehaviour behaviour_;
};

}  // namespace qb
