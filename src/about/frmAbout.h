#pragma once

#include <QColor>
#include <QDialog>
#include <QLabel>
#include <QPoint>
#include <QPushButton>
#include <array>

#include "common/AppShared.h"

namespace qb {

// The About window: the program's name, version, credits and disclaimer, a link to the
// home page, and a button that starts the system's information program. It is loaded afresh
// each time it is opened after its Exit.
class frmAbout final : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(AppShared& shared);
    ~frmAbout() override;

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    // The pointer over the bare window surface, and over the link.
    void Form_MouseMove();
    void Label3_MouseMove();
    void Label3_Click();

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

    AppShared& shared_;
};

}  // namespace qb
