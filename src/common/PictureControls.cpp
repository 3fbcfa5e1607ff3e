#include "common/PictureControls.h"

#include <QAccessibleWidget>
#include <QIcon>
#include <QMouseEvent>

namespace qb {
namespace {

const char* const kDecorative = "qbDecorative";

// A picture box that answers a click, as a screen reader sees it: a button whose press action
// clicks it.
class PictureButtonAccessible final : public QAccessibleWidget {
  public:
    explicit PictureButtonAccessible(PictureBox* box)
        : QAccessibleWidget(box, QAccessible::Button) {}

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            emit static_cast<PictureBox*>(widget())->clicked();
        else
            QAccessibleWidget::doAction(action);
    }
};

// The skin and the decorative pictures: a plain filler with no name, as a screen reader passes
// over it; the controls lying on the skin stay its children.
QAccessibleInterface* accessibleControl(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) return nullptr;
    if (auto* box = qobject_cast<PictureBox*>(widget); box != nullptr && box->actsAsButton())
        return new PictureButtonAccessible(box);
    if (qobject_cast<PictureBox*>(widget) != nullptr || widget->property(kDecorative).toBool())
        return new QAccessibleWidget(widget, QAccessible::Client);
    return nullptr;
}

// Once per program, before any of our controls is asked for.
void installAccessibleControls() {
    static const bool installed = (QAccessible::installFactory(accessibleControl), true);
    (void)installed;
}

}  // namespace

PictureBox::PictureBox(QWidget* parent, const QPixmap& picture, QColor background)
    : QLabel(parent) {
    installAccessibleControls();
    setPixmap(picture);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, background);
    setPalette(pal);
}

void PictureBox::actAsButton(const AccessibleText& text) {
    button_ = true;
    nameForScreenReaders(this, text);
}

void nameForScreenReaders(QWidget* control, const AccessibleText& text) {
    control->setAccessibleName(QStringView(text.name).toString());
    control->setAccessibleDescription(QStringView(text.description).toString());
}

void silenceForScreenReaders(QWidget* picture) {
    installAccessibleControls();
    picture->setProperty(kDecorative, true);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emit pressed(event);
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}

QToolButton* pictureButton(QWidget* parent, const QString& caption, const QString& pictureName,
                           QSize pictureSize, const QRect& where) {
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setIcon(QIcon(QStringLiteral(":/") + pictureName));
    button->setIconSize(pictureSize);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoFillBackground(true);
    QPalette pal = button->palette();
    pal.setColor(QPalette::Button, kButtonFace);
    pal.setColor(QPalette::Window, kButtonFace);
    button->setPalette(pal);
    button->setGeometry(where);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

}  // namespace qb
