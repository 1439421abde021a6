#pragma once
#include <QDialog>

class QCheckBox;
class QRadioButton;

namespace kelvor {
class Context;
}

namespace kelvor::sheets {

// The join-table window jhb (caption "注记南方格式的分幅图接合表"): the frame
// option, the batch tick and the two buttons. Nothing is kept between two
// showings.
class JhbWindow : public QDialog {
public:
    JhbWindow(Context& ctx, QWidget* parent = nullptr);

private:
    Context& ctx_;
    QRadioButton* option1_[2] = {};
    QCheckBox* check1_ = nullptr;
};

} // namespace kelvor::sheets
