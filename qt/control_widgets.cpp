#include "qt/control_widgets.h"

#include "qt/button_view.h"
#include "qt/combo_box_view.h"
#include "qt/draw_panel_view.h"
#include "qt/edit_box_view.h"
#include "qt/label_view.h"
#include "qt/progress_bar_view.h"
#include "qt/slider_view.h"
#include "qt/trans_label_view.h"

#include <array>

namespace ep::qt {
namespace {

using WidgetMaker = QWidget* (*)(Control&, QWidget*);

template <typename View> QWidget* Make(Control& control, QWidget* parent) { return new View(control, parent); }

constexpr std::size_t kKindCount = static_cast<std::size_t>(ControlKind::SerialPort) + 1;

struct KindWidget {
    ControlKind kind;
    WidgetMaker make;
};

constexpr std::array kKindWidgets{
    KindWidget{ControlKind::EditBox, &Make<EditBoxView>},
    KindWidget{ControlKind::Label, &Make<LabelView>},
    KindWidget{ControlKind::TransLabel, &Make<TransLabelView>},
    KindWidget{ControlKind::Button, &Make<ButtonView>},
    KindWidget{ControlKind::ComboBox, &Make<ComboBoxView>},
    KindWidget{ControlKind::SliderBar, &Make<SliderView>},
    KindWidget{ControlKind::ProcessBar, &Make<ProgressBarView>},
    KindWidget{ControlKind::DrawPanel, &Make<DrawPanelView>},
};

constexpr std::array<WidgetMaker, kKindCount> MakersByKind() {
    std::array<WidgetMaker, kKindCount> makers{};
    for (const KindWidget& entry : kKindWidgets)
        makers[static_cast<std::size_t>(entry.kind)] = entry.make;
    return makers;
}

constexpr std::array<WidgetMaker, kKindCount> kMakers = MakersByKind();

} // namespace

QWidget* MakeControlWidget(Control& control, QWidget* parent) {
    const WidgetMaker make = kMakers[static_cast<std::size_t>(control.kind())];
    return make != nullptr ? make(control, parent) : nullptr;
}

} // namespace ep::qt
