#pragma once
#include "app/scenario.h"
#include "platform/windows.h"

#include <QPointer>
#include <QSet>
#include <map>
#include <memory>

class QWidget;

namespace kelvor::app {

class Form1;

// The window steps of kelvor-run on real widgets. Forms open as their menu
// items open them (through Context::openWindow), but shown without
// blocking, modal or not; controls are reached by their object names and
// driven with the events and signals of a person's typing and clicking.
// "Form1" is the main window, made on its first step.
class ScenarioWindowDriver : public ScenarioWindows {
public:
    explicit ScenarioWindowDriver(const WindowRegistry& windows);
    ~ScenarioWindowDriver() override;

    void start(Context& ctx, CommandRegistry& registry) override;
    void opened(const QString& form) override;
    QJsonObject step(const WindowStep& step) override;
    void finish() override;

    // The open instance of a form, or null.
    QWidget* openForm(const QString& form) const;

private:
    QWidget* mainWindow();
    void forget(const QString& form);

    const WindowRegistry& windows_;
    Context* ctx_ = nullptr;
    CommandRegistry* registry_ = nullptr;
    std::map<QString, QPointer<QWidget>> open_;
    // Forms registered only as blocking factories: they cannot be driven.
    QSet<QString> blocking_;
    std::unique_ptr<Form1> form1_;
};

// The texts of a form's named controls: line edits, combo boxes, labels,
// frames and buttons by their text, check boxes and options by their
// tick, lists as {"items", "index"}.
QJsonObject controlTexts(QWidget& form);

} // namespace kelvor::app
