#pragma once
/// The names, in the window definition, of the controls that code refers to by themselves rather than
/// through a parameter's row: the link's timers and port, the status and EffectSet boxes, the progress
/// panel, the file dialog, the music page tabs and the buttons.

namespace ep::controls {

inline constexpr const char* ConnectTimer = "时钟3"; ///< tries to connect while offline
inline constexpr const char* PingTimer = "时钟1";    ///< pings while online
inline constexpr const char* Watchdog = "时钟2";     ///< takes the panel offline when no echo came
inline constexpr const char* Port = "端口";
inline constexpr const char* FoundPortBox = "编辑框";  ///< shows the number of the port found
inline constexpr const char* StatusLabel = "标签127";  ///< "已联机" or "未联机": the OnlineState
inline constexpr const char* EffectSetBox = "编辑框7"; ///< holds the EffectSet text
inline constexpr const char* ReplyBox = "编辑框41";    ///< shows the device's last hello answer or echo
inline constexpr const char* ProgressPanel = "画板7";
inline constexpr const char* ProgressBar = "进度条1";
inline constexpr const char* FileDialog = "通用对话框1";
inline constexpr const char* EqualiserTab = "均衡";
inline constexpr const char* AuxiliaryTab = "辅助";
inline constexpr const char* RestoreButton = "按钮1";
inline constexpr const char* ReadButton = "按钮2";
inline constexpr const char* StoreButton = "按钮3";
inline constexpr const char* LoadButton = "按钮4";
inline constexpr const char* SaveButton = "按钮5";

} // namespace ep::controls
