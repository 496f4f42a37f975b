#pragma once

#include <functional>

class ControllerRegistry;
class EADSessionController;
class EAAccessoryManager;
class GameControllerService;
class KestGameControllerManager;
class ZelFirmwareDataTool;
class ZelFirmwareUpgradeManager;

// The process's objects the commands use, handed down from main(), which
// alone reaches them. Each is made on first use, as its accessor makes it: a
// command that never asks for the engine or the game-controller service
// never starts it.
struct CliServices {
    std::function<ZelFirmwareUpgradeManager&()> engine;
    std::function<ZelFirmwareDataTool&()> catalogue;
    std::function<EADSessionController&()> session;
    std::function<EAAccessoryManager&()> accessories;
    // The attached controllers, as the engine and a station's controllers find them.
    std::function<ControllerRegistry&()> registry;
    std::function<KestGameControllerManager&()> controllers;
    std::function<GameControllerService&()> gameControllerService;
};
