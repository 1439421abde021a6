#pragma once
#include "drafting/plot_window.h"

#include <QDialog>

namespace kelvor {
class Context;
}

namespace kelvor::drafting {

// Form3: the buttons cmd1 确定 and cmd2 Command1 over the plot operations.
// No item opens it; it is reached by name.
class Plotdwg : public QDialog {
    Q_OBJECT
public:
    explicit Plotdwg(Context& ctx, QWidget* parent = nullptr);
    PlotWindow& operations() { return plot_; }

private:
    PlotWindow plot_;
};

} // namespace kelvor::drafting
