#pragma once

#include <QFrame>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

#include "common/AppShared.h"

namespace qb {

// One page that explains the main window's buttons and the tray icon, each beside a picture
// of it, and starts the two speech installers that ship beside the program.
class frmHelp final : public QWidget {
    Q_OBJECT
  public:
    explicit frmHelp(AppShared& shared);

    void Command1_Click();
    void Command2_Click();

    // Copies of the main window's buttons, as pictures of them: they do nothing.
    QToolButton* Command_Submit;
    QToolButton* Command_AdvanSubmit;
    QToolButton* Cmd_Voice;
    QPushButton* Command1;
    QPushButton* Command2;
    QLabel* Image1;
    QLabel* Image2;
    QList<QLabel*> Label1;
    QList<QFrame*> Line1;

  protected:
    // Closing it by its close box unloads it: an open Help window keeps the program running,
    // a closed one does not.
    void closeEvent(QCloseEvent* event) override;

  private:
    void startInstaller(const QString& name);

    AppShared& shared_;
};

}  // namespace qb
