// Key names of a macro file. One place for them: the writer, the readers and the tests use these.
#pragma once

namespace mc::macrokeys {

inline constexpr char kGroup[] = "Setting";
inline constexpr char kFilePath[] = "MacroFilePath";
inline constexpr char kDefaultDelay[] = "DefaultDelay";
inline constexpr char kDelayType[] = "DelayType";
inline constexpr char kLoopType[] = "LoopType";
inline constexpr char kLoopTime[] = "LoopTime";
inline constexpr char kCount[] = "Count";
inline constexpr char kMapFmt[] = "Map_%1";
inline constexpr char kDataHFmt[] = "DataH_%1";
inline constexpr char kDataLFmt[] = "DataL_%1";
inline constexpr char kWriteSign[] = "WriteSign";

} // namespace mc::macrokeys
