// The identifiers of the main window's commands, and the ranges of the
// commands built from data.
#pragma once

namespace clangor::command {

inline constexpr int FileMenu = 1100;
inline constexpr int VolumeSpeedPitch = 1103;
inline constexpr int Preferences = 1104;
inline constexpr int RestoreLibrary = 1105;
inline constexpr int Exit = 1106;
inline constexpr int ViewMenu = 1200;
inline constexpr int MenuBar = 1201;
inline constexpr int ToolBar = 1202;
inline constexpr int StatusBar = 1203;
inline constexpr int Rows = 1204;
inline constexpr int ManualControl = 1205;
inline constexpr int MovingNumbers = 1206;
inline constexpr int Ropes = 1207;
inline constexpr int FullScreen = 1208;
inline constexpr int RingingMenu = 1300;
inline constexpr int SelectBells = 1301;
inline constexpr int OtherRings = 1302;
inline constexpr int SelectNone = 1303;
inline constexpr int Start = 1304;
inline constexpr int Go = 1305;
inline constexpr int Compositions = 1306;
inline constexpr int Rounds = 1307;
inline constexpr int Stand = 1308;
inline constexpr int StopNow = 1309;
inline constexpr int Pause = 1310;
inline constexpr int MethodList = 1311;
inline constexpr int CompositionList = 1312;
inline constexpr int Fire = 1313;
inline constexpr int Step = 1315;
inline constexpr int ClockSlower = 1316;
inline constexpr int ClockFaster = 1317;
inline constexpr int Silence = 1318;
inline constexpr int MyRope = 1319;
inline constexpr int GoAgain = 1320;
inline constexpr int HalfMuffled = 1321;
inline constexpr int WholePull = 1322;
inline constexpr int Ropesight = 1323;
inline constexpr int OwnRopeMenu = 1324;
inline constexpr int Flashes = 1325;
inline constexpr int Cumulative = 1326;
inline constexpr int TapOwnBell = 1327;
inline constexpr int HitBar = 1328;
inline constexpr int RopesightScore = 1329;
inline constexpr int CallChanges = 1330;
inline constexpr int CallChangeList = 1332;
inline constexpr int RingingOptions = 1333;
inline constexpr int FlashDelay = 1334;
inline constexpr int CopyRows = 1335;
inline constexpr int TowerMenu = 1336;
inline constexpr int OwnVolumeMax = 1338;
inline constexpr int StrikingReport = 1339;
inline constexpr int StageButtonBase = 1340;  // + stage, 3 to 18
inline constexpr int SequencesButton = 1359;
inline constexpr int MakeCall = 1390;
inline constexpr int HelpMenu = 1400;
inline constexpr int HelpContents = 1401;
inline constexpr int HelpIndex = 1402;
inline constexpr int Help = 1403;
inline constexpr int About = 1404;

// Commands built from data: base + index.
inline constexpr int SequenceBase = 5100;
inline constexpr int MethodBase = 5200;
inline constexpr int CompositionBase = 5400;
inline constexpr int CallBase = 5600;
inline constexpr int OwnRopeBase = 5700;
inline constexpr int FlashDelayBase = 5750;
inline constexpr int TowerBase = 5760;
inline constexpr int RingBase = 5800;
inline constexpr int OtherRingBase = 5900;
inline constexpr int DataEnd = 6000;

inline constexpr int FlashDelayChoices = 10;

}  // namespace clangor::command
