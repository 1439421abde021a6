#pragma once
#include "app/tools/seting_store.h"

#include <QDialog>
#include <array>

class QFrame;
class QLineEdit;
class QRadioButton;
class QTabBar;

namespace kelvor {
class Context;
}

namespace kelvor::tools {

// The settings dialog `seting` (caption "参数设定"): three pages on a tab
// strip; "确定&D" stores every box, "取消&C" nothing.
class SetingDialog : public QDialog {
public:
    SetingDialog(Context& ctx, QWidget* parent = nullptr);

    // Fills the boxes from the store (called when the dialog loads).
    void finddx();
    SetingValues values() const;
    void selectTab(int index);
    int shownPage() const; // Frame1 index of the visible page, -1 if none or several

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void accept() override;
    void showValues(const SetingValues& v);
    void browseFolder(int box);
    void browseKnownPoints();
    void updatePathTips();

    Context& ctx_;
    QTabBar* tabs_ = nullptr;
    std::array<QFrame*, 3> pages_{};
    std::array<QLineEdit*, 14> text28_{};
    std::array<QRadioButton*, 3> option1_{};
    std::array<QRadioButton*, 3> option3_{};
};

} // namespace kelvor::tools
