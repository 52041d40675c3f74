#pragma once
/// The view of the main window: the client area with the background picture, one widget per control at
/// its defined place, the title and icon, centred on the screen when shown. It mirrors the window's model
/// and holds no state of its own; the window must outlive the view.

#include "qt/ui_theme.h"

#include <QImage>
#include <QWidget>

#include <map>

namespace ep {
class Control;
class Window;
} // namespace ep

namespace ep::qt {

class CommonEventFilter;

class MainWindowView : public QWidget {
  public:
    explicit MainWindowView(Window& window);
    ~MainWindowView() override;
    MainWindowView(const MainWindowView&) = delete;
    MainWindowView& operator=(const MainWindowView&) = delete;

    /// Shows the window placed as PlaceOnScreen places it on the primary screen.
    void showCentred();

    /// The widget of a control; null for the kinds without one.
    QWidget* widgetOf(const Control& control) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void buildControlWidgets();
    /// Ctrl+Z undoes the last change; Ctrl+Shift+Z and Ctrl+Y redo it.
    void addUndoKeys();

    Window& m_window;
    UiTheme m_theme;
    QImage m_background;
    std::map<const Control*, QWidget*> m_widgets;
    CommonEventFilter* m_windowEvents;
};

/// The window's frame centred within the screen's available area; where it is larger than the area, its
/// top-left corner at the area's, so that the title bar is always on the screen.
QRect PlaceOnScreen(QRect frame, const QRect& available);

} // namespace ep::qt
