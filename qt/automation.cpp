#include "qt/automation.h"

#include "qt/edit_box_view.h"
#include "qt/main_window_view.h"
#include "ui/window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <iostream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

namespace ep::qt {

/// What the reading thread and the UI thread share; it outlives whichever of them ends first.
struct Automation::Channel {
    std::mutex mutex;
    QObject* receiver = nullptr; ///< null once the automation has gone
};

namespace {

const std::map<std::string, Qt::Key> kKeys{
    {"Up", Qt::Key_Up},         {"Down", Qt::Key_Down},         {"Left", Qt::Key_Left}, {"Right", Qt::Key_Right},
    {"PageUp", Qt::Key_PageUp}, {"PageDown", Qt::Key_PageDown}, {"Home", Qt::Key_Home}, {"End", Qt::Key_End},
};

void WriteLine(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

/// The answer as one line: backslashes and line breaks escaped.
std::string OneLine(const std::string& answer) {
    std::string line;
    for (const char c : answer) {
        if (c == '\\')
            line += "\\\\";
        else if (c == '\n')
            line += "\\n";
        else if (c == '\r')
            line += "\\r";
        else
            line += c;
    }
    return line;
}

std::string ColourText(Colour colour) {
    char text[8];
    const auto value = static_cast<std::uint32_t>(colour);
    std::snprintf(text, sizeof text, "#%02X%02X%02X", value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    return text;
}

void Click(QWidget& widget) {
    const QPointF centre = QRectF(widget.rect()).center();
    const QPointF global = widget.mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

void PressKey(QWidget& widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

std::string ShownText(QWidget& widget, const Control& control) {
    if (auto* edit = dynamic_cast<EditBoxView*>(&widget))
        return edit->shownText().toStdString();
    if (const auto* combo = qobject_cast<QComboBox*>(&widget))
        return std::to_string(combo->currentIndex());
    if (const auto* slider = qobject_cast<QAbstractSlider*>(&widget))
        return std::to_string(slider->value());
    if (const auto* bar = qobject_cast<QProgressBar*>(&widget))
        return std::to_string(bar->value());
    if (const auto* button = qobject_cast<QAbstractButton*>(&widget))
        return button->text().toStdString();
    // The labels paint their caption straight from the control.
    return control.readText(prop::label::Caption);
}

/// Opens the list and walks to the item as the keyboard does; Return closes the list with that choice.
void Choose(QComboBox& combo, int index) {
    combo.setFocus(Qt::OtherFocusReason);
    combo.showPopup();
    QAbstractItemView* list = combo.view();
    const int start = list->currentIndex().isValid() ? list->currentIndex().row() : combo.currentIndex();
    for (int row = start; row < index; ++row)
        PressKey(*list, Qt::Key_Down);
    for (int row = start; row > index; --row)
        PressKey(*list, Qt::Key_Up);
    PressKey(*list, Qt::Key_Return);
}

} // namespace

bool AutomationRequested() { return qEnvironmentVariable("EFFECTPANEL_AUTOMATION") == QLatin1String("1"); }

Automation::Automation(MainWindowView& view, Window& window)
    : m_view(view), m_window(window), m_channel(std::make_shared<Channel>()) {
    m_channel->receiver = new QObject;
    // Standard input has no portable notifier, so a thread reads it. It stays blocked in the read when
    // the program ends; the channel tells it that nobody listens any more.
    std::thread([channel = m_channel, this] {
        std::string line;
        while (std::getline(std::cin, line)) {
            const std::lock_guard lock(channel->mutex);
            if (channel->receiver == nullptr)
                return;
            QMetaObject::invokeMethod(
                channel->receiver, [this, line] { WriteLine(handle(line)); }, Qt::QueuedConnection);
        }
    }).detach();
    QTimer::singleShot(0, m_channel->receiver, [] { WriteLine("ready"); });
}

Automation::~Automation() {
    const std::lock_guard lock(m_channel->mutex);
    delete m_channel->receiver;
    m_channel->receiver = nullptr;
}

std::string Automation::handle(const std::string& line) { return OneLine(answer(line)); }

std::string Automation::answer(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "box") {
        const auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        return box == nullptr ? "ok none" : "ok " + box->windowTitle().toStdString() + "|" + box->text().toStdString();
    }
    if (command == "answer") {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box->buttons().isEmpty())
            return "error no message box";
        QAbstractButton* button = box->defaultButton();
        if (button == nullptr)
            button = box->buttons().front();
        QTimer::singleShot(0, button, [button] { button->click(); });
        return "ok";
    }
    if (command == "file") {
        std::string path;
        std::getline(words >> std::ws, path);
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return "error no file dialog";
        auto* nameBox = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (nameBox == nullptr)
            return "error the file dialog has no name box";
        // Typed into the name box and confirmed with Return, as a user does.
        QTimer::singleShot(0, nameBox, [nameBox, path] {
            nameBox->setFocus(Qt::OtherFocusReason);
            nameBox->setText(QString::fromStdString(path));
            PressKey(*nameBox, Qt::Key_Return);
        });
        return "ok";
    }
    if (command == "quit") {
        QTimer::singleShot(0, &m_view, [this] { m_view.close(); });
        return "ok";
    }
    return handleControlCommand(command, words);
}

std::string Automation::handleControlCommand(const std::string& command, std::istringstream& words) {
    static const std::set<std::string> kControlCommands{"read", "visible", "colour", "click", "key", "arrow", "choose"};
    if (!kControlCommands.contains(command))
        return "error unknown command '" + command + "'";
    std::string name;
    words >> name;
    Control* control = m_window.find(name);
    QWidget* found = control != nullptr ? m_view.widgetOf(*control) : nullptr;
    if (found == nullptr)
        return "error no widget named '" + name + "'";
    QPointer<QWidget> widget(found);
    // Input goes in after the answer, from the event loop, as a user's would.
    const auto deliver = [widget](auto input) {
        QTimer::singleShot(0, widget, [widget, input] {
            if (widget)
                input(*widget);
        });
        return std::string("ok");
    };

    if (command == "read")
        return "ok " + ShownText(*widget, *control);
    if (command == "visible")
        return widget->isVisible() ? "ok 1" : "ok 0";
    if (command == "colour") {
        const int number =
            control->kind() == ControlKind::TransLabel ? prop::translabel::TextColour : prop::label::BackgroundColour;
        return "ok " + ColourText(control->readInt(number));
    }
    if (command == "click") {
        if (auto* button = qobject_cast<QAbstractButton*>(widget.data()); button != nullptr && button->isHidden())
            return deliver([](QWidget& target) { static_cast<QAbstractButton&>(target).click(); });
        return deliver([](QWidget& target) { Click(target); });
    }
    if (command == "key") {
        std::string keyName;
        int times = 1;
        words >> keyName >> times;
        const auto key = kKeys.find(keyName);
        if (key == kKeys.end())
            return "error unknown key '" + keyName + "'";
        return deliver([key = key->second, times](QWidget& target) {
            target.setFocus(Qt::OtherFocusReason);
            for (int i = 0; i < times; ++i)
                PressKey(target, key);
        });
    }
    if (command == "arrow") {
        std::string direction;
        words >> direction;
        auto* edit = dynamic_cast<EditBoxView*>(widget.data());
        QWidget* arrow = edit == nullptr ? nullptr : direction == "up" ? edit->upArrow() : edit->downArrow();
        if (arrow == nullptr || (direction != "up" && direction != "down"))
            return "error '" + name + "' has no " + direction + " arrow";
        return deliver([arrow](QWidget&) { Click(*arrow); });
    }
    int index = -1;
    words >> index;
    auto* combo = qobject_cast<QComboBox*>(widget.data());
    if (combo == nullptr || index < 0 || index >= combo->count())
        return "error '" + name + "' has no item " + std::to_string(index);
    return deliver([index](QWidget& target) { Choose(static_cast<QComboBox&>(target), index); });
}

} // namespace ep::qt
