// Setup plug-in commands: a plug-in library's RunTimeExecute called on a worker thread, with the
// script's variables going in and coming back as comma text.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "setup/engine/workers/worker_protocol.h"

namespace setup::engine {

// Called by the plug-in on the worker thread; false once the user cancelled.
using PluginProgressCallback = BOOL(WINAPI*)(int percent, const char* text);
using RunTimeExecuteFunction = int(WINAPI*)(HWND owner, const char* variables,
                                            const char* parameters, PluginProgressCallback progress,
                                            int* reserved, char* output);

// Loads the library, asks RunTimeExecute for its result length, then for the text. Returns the
// first call's result; -1 when the library or its export is missing.
int CallPluginLibrary(HWND owner, const std::string& libraryPath, const std::string& variables,
                      std::string& result, int* reserved, PluginProgressCallback progress,
                      const std::string& parameters);

struct PluginRequest
{
    HWND owner = nullptr;
    std::string libraryPath;
    std::string variables;   // all variables as comma text
    std::string parameters;  // the statement's parameter 1 as stored
    IWorkerReport* report = nullptr;  // where the plug-in's progress goes; none: dropped
};

struct PluginWait
{
    bool silent = false;
    std::function<int()> checkCancel;  // -1 once the user cancelled
};

// Runs the plug-in on a worker thread and waits for it, handling window messages meanwhile (or,
// when silent, only the worker's completion), with the run's busy flag held. Returns the comma
// text the plug-in gave back, or the variables unchanged when the call failed.
std::string RunPluginCommand(const PluginRequest& request, WorkerFlags& flags,
                             const PluginWait& wait);

}  // namespace setup::engine
