#include "qt/main_window_view.h"

#include "handlers/change_history.h"
#include "qt/common_events.h"
#include "qt/control_widgets.h"
#include "qt/font_mapping.h"
#include "qt/jpeg_image.h"
#include "qt/ui_theme.h"
#include "runtime/resources.h"
#include "ui/ui_style.h"
#include "ui/window.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QScreen>
#include <QShortcut>

namespace ep::qt {
namespace {

QImage PictureNamed(const Text& name) {
    const auto bytes = name.empty() ? std::nullopt : ProgramResource(name);
    if (!bytes)
        return {};
    return QImage::fromData(QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size())));
}

} // namespace

MainWindowView::MainWindowView(Window& window)
    : m_window(window), m_windowEvents(new CommonEventFilter(window.self(), *this)) {
    const auto& attributes = window.self().attributes();
    setWindowTitle(QString::fromStdString(attributes.title));
    if (const QImage icon = PictureNamed(attributes.icon); !icon.isNull())
        setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    if (const auto picture = ProgramResource(attributes.picture); picture && !attributes.picture.empty())
        // Converted once to the painter's own format, so that a repaint copies pixels instead of converting them.
        m_background = DecodeJpeg(*picture).convertToFormat(QImage::Format_RGB32);
    setFont(DefaultGuiFont());
    resize(attributes.clientWidth, attributes.clientHeight);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    m_theme.apply(UiStyle());
    SetUiStyleListener([this](int style) { m_theme.apply(style); });
    m_windowEvents->watch(*this);
    buildControlWidgets();
    addUndoKeys();
}

void MainWindowView::addUndoKeys() {
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this, [] { UndoChange(); });
    for (const QKeySequence& redo :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        new QShortcut(redo, this, [] { RedoChange(); });
}

MainWindowView::~MainWindowView() {
    SetUiStyleListener({});
    delete m_windowEvents;
}

void MainWindowView::buildControlWidgets() {
    // The definition lists a parent before its children, so the parent's widget exists already.
    for (const auto& control : m_window.controls()) {
        QWidget* parent = this;
        if (control->parent() != nullptr)
            if (QWidget* parentWidget = widgetOf(*control->parent()))
                parent = parentWidget;
        if (QWidget* widget = MakeControlWidget(*control, parent))
            m_widgets[control.get()] = widget;
    }
}

QWidget* MainWindowView::widgetOf(const Control& control) const {
    const auto found = m_widgets.find(&control);
    return found != m_widgets.end() ? found->second : nullptr;
}

void MainWindowView::paintEvent(QPaintEvent*) {
    // Picture mode 0: the picture as it is from the client area's top-left corner, cut off at its edges.
    if (!m_background.isNull())
        QPainter(this).drawImage(QPoint(0, 0), m_background);
}

void MainWindowView::showCentred() {
    show();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(PlaceOnScreen(frameGeometry(), screen->availableGeometry()).topLeft());
}

QRect PlaceOnScreen(QRect frame, const QRect& available) {
    frame.moveCenter(available.center());
    // The title bar must stay within reach: a frame larger than the screen starts at its top-left corner.
    if (frame.width() > available.width())
        frame.moveLeft(available.left());
    if (frame.height() > available.height())
        frame.moveTop(available.top());
    return frame;
}

} // namespace ep::qt
