#pragma once
#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace kelvor {
class Context;
}

namespace kelvor::tools {

// The calculators window `tool` (caption "其它工具").
class ToolWindow : public QDialog {
public:
    ToolWindow(Context& ctx, QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLineEdit* edit(const QString& name, const QString& text, int x, int y, int w);

    Context& ctx_;
    QLineEdit* text9_[4] = {};
    QLineEdit* text15_[4] = {};
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text10_ = nullptr;
    QRadioButton* slope_ = nullptr;
};

} // namespace kelvor::tools
