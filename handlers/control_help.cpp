#include "handlers/control_help.h"

#include "link/device_link.h"
#include "model/controls.h"
#include "model/fields.h"
#include "sets/set_fields.h"

namespace ep {
namespace {

/// The row the control edits, shows, names, or chooses a value of, in the current view.
const ParameterRow* RowOfAnyControl(std::string_view control) {
    if (const ParameterRow* row = RowOfControl(control, ShownView()))
        return row;
    for (const ParameterRow& row : ParameterRows()) {
        if ((row.displayControl == control || row.captionLabel == control) && !row.editControl.empty())
            return RowOfControl(row.editControl, ShownView());
        if (ChoiceValueOfLabel(row, control))
            return &row;
    }
    return nullptr;
}

Text Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? Text() : Text(text.substr(first));
}

Text RangeHelp(int field) {
    const std::vector<int> values = ValuesOfField(field);
    return "范围：" + ValueText(field, values.front()) + " … " + ValueText(field, values.back());
}

Text ParameterHelp(const ParameterRow& row, std::string_view control) {
    const auto location = LocateField(row, SelectorIndex(row.block));
    if (!location)
        return Text(row.name) + "\n所选模式没有这一项";
    const int field = location->field;
    Text help = FieldName(field);
    switch (row.editKind) {
    case EditKind::SwitchLabel:
        return help + "\n红色：" + Trimmed(row.on.text) + "，灰色：" + Trimmed(row.off.text) + "\n单击或按空格键切换";
    case EditKind::ChoiceLabels:
        return help + "：" + ValueText(field, *ChoiceValueOfLabel(row, control)) +
               "\n红色为当前所选，单击或按空格键选择";
    default:
        return help + "\n" + RangeHelp(field);
    }
}

Text StatusHelp() {
    Text help = "已联机：处理器已应答，每项修改立即发送到处理器\n未联机：正在 COM1 … COM10 上寻找处理器";
    for (const Text& failure : PortLink().openFailures())
        help += "\n" + failure;
    return help;
}

} // namespace

Text ControlHelp(const Text& controlName) {
    // Only the panel's own window has the parameters' controls.
    if (!IsWindowLoaded() || LoadedWindow().find(controls::AuxiliaryTab) == nullptr)
        return {};
    if (controlName == controls::StatusLabel)
        return StatusHelp();
    if (const ParameterRow* row = RowOfAnyControl(controlName))
        return ParameterHelp(*row, controlName);
    return {};
}

} // namespace ep
