// Real message boxes: the presenter of the message-box service, installed as
// soon as the controls library is loaded.
#include "platform/controls/MessageBox.h"

#include <QMessageBox>

namespace controls {

namespace {

int present(const MessageBoxRequest& request) {
    QMessageBox box(request.owner);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    switch (request.icon()) {
    case mb::Critical: box.setIcon(QMessageBox::Critical); break;
    case mb::Question: box.setIcon(QMessageBox::Question); break;
    case mb::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case mb::Information: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (request.buttons()) {
    case mb::OKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case mb::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel: return mb::Cancel;
    case QMessageBox::Yes: return mb::Yes;
    case QMessageBox::No: return mb::No;
    default: return mb::OK;
    }
}

const bool installed = [] {
    MessageBoxService::setPresenter(present);
    return true;
}();

}  // namespace

}  // namespace controls
