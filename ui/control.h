#pragma once
/// A control of the window: its kind, name, numbered properties and the events it raises. The control is
/// the single place where its state lives; a view only mirrors it. It does not draw anything.

#include "runtime/value.h"
#include "ui/property.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace ep {

class Window;
class Control;
struct KindDescriptor;

enum class ControlKind {
    Window,
    EditBox,
    Label,
    TransLabel,
    Button,
    ComboBox,
    SliderBar,
    ProcessBar,
    DrawPanel,
    Timer,
    CommonDlg,
    SerialPort
};

/// The up-down arrows of an edit box; kind 1 steps the box's own number.
struct UpDownArrows {
    int kind = 0;
    int minimum = 0;
    int maximum = 0;
};

/// Attributes that only the window definition sets; the logic never writes them.
struct DefinitionAttributes {
    std::vector<Text> items;  ///< combo box list
    UpDownArrows upDown;      ///< edit box arrows
    Text filter;              ///< common dialog file filter, display text and pattern split by '|'
    Text picture;             ///< button bitmap or window background
    int pictureMode = 0;      ///< window background placement
    int borderStyle = 0;      ///< draw panel border
    std::optional<Font> font; ///< font of kinds whose font is not a property (edit box, combo, button)
    Text title;               ///< window title
    Text icon;                ///< window icon
    int clientWidth = 0;      ///< window client area the controls need
    int clientHeight = 0;
};

/// What a view of a control is told; it re-reads the property it is told about.
class ControlView {
  public:
    virtual ~ControlView() = default;
    virtual void propertyChanged(int number) = 0;
    /// The edit box stepped its number with its arrows: select all of it and take the focus.
    virtual void selectAllAndFocus() {}
};

/// Run-time state that a higher layer attaches to a control (the serial link of a SerialPort); it is
/// destroyed with the control, before the control's properties.
class ControlExtension {
  public:
    virtual ~ControlExtension() = default;
};

class Control {
  public:
    Control(Window& window, ControlKind kind, Text name, int id);
    ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return m_kind; }
    const Text& name() const { return m_name; }
    int id() const { return m_id; }
    Window& window() const { return m_window; }
    Control* parent() const { return m_parent; }
    void setParent(Control* parent) { m_parent = parent; }

    /// True when the kind has the property number.
    bool hasProperty(int number) const;
    /// Writes a property: converted to its type, clamped as the kind says, side effects run; a number the
    /// kind lacks changes nothing.
    void write(int number, const PropertyValue& value);
    PropertyValue read(int number) const;
    std::int32_t readInt(int number) const;
    bool readBool(int number) const;
    Text readText(int number) const;
    std::optional<Font> readFont(int number) const;

    /// Stores a property without any side effect: for loading the definition and for the kind itself.
    void store(int number, PropertyValue value);

    /// Raises one of the control's events; it runs the bound handler synchronously, nested in the caller.
    void raise(int event, std::vector<std::int32_t> arguments = {});

    DefinitionAttributes& attributes() { return m_attributes; }
    const DefinitionAttributes& attributes() const { return m_attributes; }

    void setView(ControlView* view) { m_view = view; }
    ControlView* view() const { return m_view; }

    void setExtension(std::unique_ptr<ControlExtension> extension) { m_extension = std::move(extension); }
    ControlExtension* extension() const { return m_extension.get(); }

    /// Kind-specific run-time state owned by the kind behaviour (the timer kind's host timer).
    int& kindState() { return m_kindState; }

    void notifyView(int number) const;

  private:
    Window& m_window;
    ControlKind m_kind;
    Text m_name;
    int m_id;
    Control* m_parent = nullptr;
    const KindDescriptor& m_descriptor;
    std::map<int, PropertyValue> m_properties;
    DefinitionAttributes m_attributes;
    ControlView* m_view = nullptr;
    std::unique_ptr<ControlExtension> m_extension;
    int m_kindState = 0;
};

} // namespace ep
