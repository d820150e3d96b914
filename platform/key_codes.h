// Windows virtual-key codes by name, for the logic, both backends and the
// tests alike. Letters and digits are their own upper-case characters.
#pragma once

constexpr int VkBack = 8, VkTab = 9, VkReturn = 13, VkShift = 16, VkControl = 17, VkMenu = 18;
constexpr int VkCapital = 20, VkEscape = 27, VkSpace = 32, VkPrior = 33, VkNext = 34;
constexpr int VkEnd = 35, VkHome = 36, VkLeft = 37, VkUp = 38, VkRight = 39, VkDown = 40;
constexpr int VkDelete = 46, VkLeftWindows = 91, VkApps = 93, VkSubtract = 109;
constexpr int VkF1 = 112, VkF2 = 113, VkF3 = 114, VkF4 = 115, VkF10 = 121;
constexpr int VkVolumeMute = 0xAD, VkVolumeDown = 0xAE, VkVolumeUp = 0xAF;
// The punctuation keys of the US layout.
constexpr int VkOem1 = 186, VkOemPlus = 187, VkOemComma = 188, VkOemMinus = 189;
constexpr int VkOemPeriod = 190, VkOem2 = 191, VkOem3 = 192, VkOem4 = 219, VkOem5 = 220;
constexpr int VkOem6 = 221, VkOem7 = 222;
