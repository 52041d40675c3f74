#include "ui/window_definition.h"

#include "runtime/fatal.h"
#include "runtime/resources.h"
#include "ui/kinds.h"

#include <nlohmann/json.hpp>

#include <stdexcept>

namespace ep {
namespace {

using Json = nlohmann::json;

constexpr const char* kDefinitionError = "载入窗口模板数据段出错!";

Colour ColourOf(const Json& value) {
    if (value.is_null())
        return kDefaultColour;
    const auto text = value.get<std::string>();
    if (text.size() != 7 || text[0] != '#')
        throw std::invalid_argument("colour");
    return ColourFromRgb(static_cast<std::uint32_t>(std::stoul(text.substr(1), nullptr, 16)));
}

std::optional<Font> FontOf(const Json& value) {
    if (value.is_null())
        return std::nullopt;
    return Font{value.at("face").get<std::string>(), value.at("height").get<int>(), value.at("weight").get<int>()};
}

Bytes BytesFromHex(const std::string& hex) {
    if (hex.size() % 2 != 0)
        throw std::invalid_argument("hex");
    Bytes bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

void LoadSlider(Control& control, const Json& data) {
    using namespace prop::slider;
    const int minimum = data.at("minimum").get<int>();
    const int maximum = data.at("maximum").get<int>();
    control.store(Vertical, data.at("vertical").get<bool>());
    control.store(Minimum, minimum);
    control.store(Maximum, maximum);
    control.store(Position, data.at("position").get<std::int32_t>());
    control.store(TickFrequency, data.at("tickFrequency").get<std::int32_t>());
    control.store(TickMarks, data.at("tickMarks").get<std::int32_t>());
    const Json& page = data.at("pageSize");
    const Json& line = data.at("lineSize");
    control.store(PageSize, page.is_null() ? std::max(1, std::abs(maximum - minimum) / 5) : page.get<int>());
    control.store(LineSize, line.is_null() ? 1 : line.get<int>());
}

void LoadEditBox(Control& control, const Json& data) {
    using namespace prop::editbox;
    control.store(Content, data.at("content").get<std::string>());
    control.store(MultiLine, data.at("multiLine").get<bool>());
    control.store(ScrollBars, data.at("scrollBars").get<std::int32_t>());
    control.store(Alignment, data.at("alignment").get<std::int32_t>());
    control.store(InputMode, data.at("inputMode").get<std::int32_t>());
    const Json& arrows = data.at("upDown");
    if (!arrows.is_null())
        control.attributes().upDown = {arrows.at("kind").get<int>(), arrows.at("minimum").get<int>(),
                                       arrows.at("maximum").get<int>()};
    control.attributes().font = FontOf(data.value("font", Json()));
}

void LoadKindData(Control& control, const Json& data) {
    switch (control.kind()) {
    case ControlKind::SliderBar:
        LoadSlider(control, data);
        break;
    case ControlKind::EditBox:
        LoadEditBox(control, data);
        break;
    case ControlKind::ComboBox:
        control.store(prop::combo::Type, data.at("type").get<std::int32_t>());
        control.attributes().items = data.at("items").get<std::vector<std::string>>();
        control.store(prop::combo::Selection, data.at("selection").get<std::int32_t>());
        break;
    case ControlKind::Button:
        control.store(prop::button::Caption, data.at("caption").get<std::string>());
        control.attributes().picture = data.at("picture").is_null() ? "" : data.at("picture").get<std::string>();
        break;
    case ControlKind::TransLabel:
        control.store(prop::translabel::Caption, data.at("caption").get<std::string>());
        if (auto font = FontOf(data.at("font")))
            control.store(prop::translabel::Font, *font);
        control.store(prop::translabel::TextColour, ColourOf(data.at("textColor")));
        break;
    case ControlKind::Label:
        control.store(prop::label::Caption, data.at("caption").get<std::string>());
        if (auto font = FontOf(data.at("font")))
            control.store(prop::label::Font, *font);
        control.store(prop::label::TextColour, ColourOf(data.at("textColor")));
        control.store(prop::label::BackgroundColour, ColourOf(data.at("backgroundColor")));
        break;
    case ControlKind::DrawPanel:
        control.attributes().borderStyle = data.at("borderStyle").get<int>();
        break;
    case ControlKind::ProcessBar:
        control.store(prop::progress::Minimum, data.at("minimum").get<std::int32_t>());
        control.store(prop::progress::Maximum, data.at("maximum").get<std::int32_t>());
        control.store(prop::progress::Position, data.at("position").get<std::int32_t>());
        break;
    case ControlKind::Timer:
        control.store(prop::timer::Period, data.at("period").get<std::int32_t>());
        break;
    case ControlKind::CommonDlg:
        control.attributes().filter = data.at("filter").get<std::string>();
        control.store(prop::dialog::Type, data.at("dialogType").get<std::int32_t>());
        control.store(prop::dialog::FileName, data.at("fileName").get<std::string>());
        break;
    case ControlKind::SerialPort:
    case ControlKind::Window:
        break;
    }
}

void LoadBindings(Window& window, int controlId, const Json& bindings) {
    for (const Json& binding : bindings)
        window.bind(controlId, binding.at("event").get<int>(), binding.at("handler").get<std::string>());
}

void LoadWindowAttributes(Window& window, const Json& data) {
    Control& self = window.self();
    self.store(prop::Left, data.at("storedLeft").get<std::int32_t>());
    self.store(prop::Top, data.at("storedTop").get<std::int32_t>());
    self.store(prop::Width, data.at("outerWidth").get<std::int32_t>());
    self.store(prop::Height, data.at("outerHeight").get<std::int32_t>());
    self.store(prop::Visible, data.at("visible").get<bool>());
    auto& attributes = self.attributes();
    attributes.title = data.at("title").get<std::string>();
    attributes.clientWidth = data.at("clientWidth").get<int>();
    attributes.clientHeight = data.at("clientHeight").get<int>();
    attributes.picture = data.at("background").at("picture").get<std::string>();
    attributes.pictureMode = data.at("background").at("mode").get<int>();
    attributes.icon = data.at("icon").get<std::string>();
    LoadBindings(window, 0, data.at("bindings"));
}

void LoadControl(Window& window, const Json& data) {
    const auto kindName = data.at("kind").get<std::string>();
    const auto kind = KindNamed(kindName);
    if (!kind || *kind == ControlKind::Window)
        throw std::invalid_argument("kind " + kindName);
    const auto name = data.at("name").get<std::string>();
    const int id = data.at("id").get<int>();
    if (id <= 0 || window.find(name) != nullptr || window.findById(id) != nullptr)
        throw std::invalid_argument("control " + name);
    Control& control = window.addControl(*kind, name, id);
    control.store(prop::Left, data.at("left").get<std::int32_t>());
    control.store(prop::Top, data.at("top").get<std::int32_t>());
    control.store(prop::Width, data.at("width").get<std::int32_t>());
    control.store(prop::Height, data.at("height").get<std::int32_t>());
    control.store(prop::Visible, data.at("visible").get<bool>());
    if (const Json& parent = data.at("parent"); !parent.is_null()) {
        Control* parentControl = window.find(parent.get<std::string>());
        if (parentControl == nullptr)
            throw std::invalid_argument("parent of " + name);
        control.setParent(parentControl);
    }
    LoadKindData(control, data);
    const auto& loadStoredBlock = DescriptorOf(*kind).loadStoredBlock;
    if (data.contains("storedBlock") && loadStoredBlock &&
        !loadStoredBlock(control, BytesFromHex(data.at("storedBlock").get<std::string>()))) {
        window.removeControl(control);
        return;
    }
    LoadBindings(window, id, data.at("bindings"));
}

} // namespace

std::unique_ptr<Window> BuildWindowFromDefinition(std::string_view definitionJson) {
    Json definition = Json::parse(definitionJson, nullptr, false);
    if (definition.is_discarded() || !definition.is_object() || !definition.contains("controls"))
        ReportFatal(kDefinitionError);
    if (!definition.contains("window") || !definition.at("window").is_object())
        ReportFatal("载入启动窗口失败");
    try {
        const Json& windowData = definition.at("window");
        auto window = std::make_unique<Window>(windowData.at("name").get<std::string>());
        LoadWindowAttributes(*window, windowData);
        for (const Json& control : definition.at("controls"))
            LoadControl(*window, control);
        return window;
    } catch (const std::exception&) {
        ReportFatal(kDefinitionError);
    }
}

std::unique_ptr<Window> LoadStartWindow(const HandlerRegistry& handlers) {
    const auto definition = ProgramResource(kMainWindowDefinition);
    if (!definition)
        ReportFatal(kDefinitionError);
    auto window = BuildWindowFromDefinition(*definition);
    window->resolveBindings(handlers);
    SetLoadedWindow(window.get());
    window->self().raise(event::Created);
    return window;
}

} // namespace ep
