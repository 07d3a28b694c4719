#pragma once
// The dashboard window. It builds the designed controls, gives the core a View over
// them, and wires timers, keys, menus and buttons to the core's routines. No logic.
#include "dashboard/qt/QtView.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>

namespace vcm {

class MainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit MainForm(QWidget* parent = nullptr);
    ~MainForm() override;

    QtView& view() { return *view_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // Sizes the window to the visible controls (after start-up and each layout step).
    void fitWindowToContent();

private:
    // Delete steps the layouts, space the histogram views; true when the key was used.
    bool handleKey(int key);

    std::unique_ptr<QtView> view_;
    QTimer mainTimer_;
    QTimer gpsTimer_;
};

} // namespace vcm
