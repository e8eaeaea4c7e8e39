#include "game/ConfirmDialog.h"

ConfirmDialog* ConfirmDialog::Instance() {
    static ConfirmDialog* instance = new ConfirmDialog();
    return instance;
}
void ConfirmDialog::Show(const std::string&, const std::string&, Action, void*) {}
void ConfirmDialog::Close() {}
void ConfirmDialog::OnOk(void*) {}
void ConfirmDialog::OnCancel(void*) {}
void ConfirmDialog::DrawText(void*) {}
