#include "DialogServices.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QVariant>
#include <QWidget>

namespace vcm {

QString QtFolderChooser::chooseFolder(QWidget* parent, const QString& title, const QString& startFolder)
{
    // A start folder that does not exist opens the dialog without a selection.
    const QString start = QDir(startFolder).exists() ? startFolder : QString();
    const QString chosen = QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
    return QDir::toNativeSeparators(chosen);
}

void QtProblemReporter::showProblem(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void nameControl(QWidget* widget, const char* name, int index)
{
    widget->setObjectName(QString::fromLatin1(name));
    if (index >= 0) widget->setProperty("index", index);
}

QString fromSettingsText(const std::string& text) { return QString::fromLocal8Bit(text); }

std::string toSettingsText(const QString& text) { return text.toLocal8Bit().toStdString(); }

} // namespace vcm
