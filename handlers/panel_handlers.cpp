#include "handlers/panel_handlers.h"

#include "handlers/change_history.h"
#include "handlers/device_buttons.h"
#include "handlers/file_handlers.h"
#include "handlers/label_handlers.h"
#include "handlers/limit_handlers.h"
#include "handlers/page_tab_handlers.h"
#include "handlers/receive_handler.h"
#include "handlers/selector_handlers.h"
#include "handlers/slider_handlers.h"
#include "link/connection.h"

namespace ep {

HandlerRegistry PanelHandlers() {
    HandlerRegistry handlers;
    for (const auto& [name, handler] : std::initializer_list<std::pair<const char*, Handler>>{
             {"ConnectTick", ConnectTick},
             {"PingTick", PingTick},
             {"WatchdogTick", WatchdogTick},
             {"ReceiveByte", ReceiveByte},
             {"ReadDevice", ReadDevice},
             {"StoreToDevice", StoreToDevice},
             {"RestoreDefaults", RestoreDefaults},
             {"KtvDelaySliderReleased", KtvDelaySliderReleased},
             {"EqTabPressed", EqTabPressed},
             {"ShowMusicAuxPage", AuxTabPressed},
             {"SaveEffectFile", SaveEffectFile},
             {"LoadEffectFile", LoadEffectFile},
         })
        handlers.add(name, handler);
    // The handlers of the parameters' controls: what they change can be undone.
    for (const auto& [name, handler] : std::initializer_list<std::pair<const char*, Handler>>{
             {"MicSliderChanged", MicSliderChanged},
             {"KtvSliderChanged", KtvSliderChanged},
             {"RevHighCutSliderChanged", RevHighCutSliderChanged},
             {"MusicPageSliderChanged", MusicPageSliderChanged},
             {"VolumeSliderChanged", VolumeSliderChanged},
             {"ColourSwitchPressed", ColourSwitchPressed},
             {"MuteSwitchPressed", MuteSwitchPressed},
             {"CaptionSwitchPressed", CaptionSwitchPressed},
             {"ChoiceLabelPressed", ChoiceLabelPressed},
             {"TopSelectorClosed", TopSelectorClosed},
             {"BlockSelectorClosed", BlockSelectorClosed},
             {kLimitBoxHandler, LimitBoxChanged},
         })
        handlers.add(name, RecordedChange(handler));
    return handlers;
}

} // namespace ep
