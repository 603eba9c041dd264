#include "platform/QtUiHost.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QScreen>

#include <memory>

namespace {

// QDialog places a box over the active window; this one goes to the middle of its screen,
// once its final size is known, just before it appears.
class ScreenCentredMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        QRect frame = frameGeometry();
        frame.moveCenter(screen()->availableGeometry().center());
        move(frame.topLeft());
    }
};

} // namespace

QMessageBox::StandardButton QtUiHost::message(QWidget *parent, const Message &message)
{
    std::unique_ptr<QMessageBox> owner;
    if (message.centredOnScreen)
        owner = std::make_unique<ScreenCentredMessageBox>(parent);
    else
        owner = std::make_unique<QMessageBox>(parent);
    QMessageBox &box = *owner;
    box.setWindowTitle(message.title);
    // Windows message boxes break lines at a carriage return too; so do we.
    QString text = message.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    box.setText(text);
    box.setIcon(message.icon);
    box.setStandardButtons(message.buttons);
    if (message.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(message.defaultButton);
    if (message.escapeButton != QMessageBox::NoButton)
        box.setEscapeButton(message.escapeButton);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    if (clicked == QMessageBox::NoButton)
        return message.escapeButton;
    return clicked;
}

UiHost::FileAnswer QtUiHost::file(QWidget *parent, const FileQuestion &question)
{
    QFileDialog dialog(parent, question.caption, question.directory);
    const bool save = question.mode == FileQuestion::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(question.filters);
    if (!question.selectedFilter.isEmpty())
        dialog.selectNameFilter(question.selectedFilter);
    dialog.setDefaultSuffix(question.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()};
}

std::optional<QString> QtUiHost::password(QWidget *parent, const PasswordQuestion &question)
{
    bool accepted = false;
    QString text = QInputDialog::getText(parent, question.title, question.label,
                                         QLineEdit::Password, QString(), &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}
