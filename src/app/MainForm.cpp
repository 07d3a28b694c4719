#include "app/MainForm.h"

#include "app/MainFormDesign.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>

namespace vcm {

MainForm::MainForm(QWidget* parent)
    : QMainWindow(parent)
{
    buildMainFormDesign(*this);
    view_ = std::make_unique<QtView>(this);
    view_->setSystemTextColor(rgb(110, 118, 130));
    view_->setBackColor({"CommStatus", 0}, colors::LampDark);
    // Keys reach the window before its buttons.
    qApp->installEventFilter(this);
    mainTimer_.setInterval(100);
    gpsTimer_.setInterval(2050);
    fitWindowToContent();
}

void MainForm::fitWindowToContent()
{
    QWidget* form = centralWidget();
    QRect used;
    for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isHidden())
            used |= w->geometry();
    const QSize size(used.right() + 1 + used.left(), used.bottom() + 1 + used.top());
    form->setMinimumSize(size);
    resize(size.width(), size.height() + menuBar()->sizeHint().height());
}

MainForm::~MainForm() { qApp->removeEventFilter(this); }

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isActiveWindow()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (handleKey(key->key()))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainForm::handleKey(int key)
{
    return key == Qt::Key_Delete || key == Qt::Key_Space;
}

void MainForm::closeEvent(QCloseEvent* event)
{
    event->accept();
}

} // namespace vcm
