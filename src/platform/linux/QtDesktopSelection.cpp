#include <QClipboard>
#include <QGuiApplication>

#include "platform/DesktopSelection.h"

namespace qb::platform {

std::u16string desktopSelection() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    QString text;
    // Only X11 keeps a selection apart from the clipboard.
    if (clipboard->supportsSelection()) text = clipboard->text(QClipboard::Selection);
    // A selection of blanks alone is taken for no selection, as one of nothing is.
    if (text.trimmed().isEmpty()) text = clipboard->text(QClipboard::Clipboard);
    return text.toStdU16String();
}

}  // namespace qb::platform
