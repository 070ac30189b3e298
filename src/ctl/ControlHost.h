#pragma once

#include "ctl/FunctionNames.h"
#include "macro/MacroStore.h"
#include "settings/Settings.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace xk::ctl {

struct MouseStatus {
    bool found = false;
    std::string transport; // how it is reached: "hidraw /dev/hidraw3", "virtual mouse at ..."
    std::string problem;   // why it is not found, with what to do about it
};

// The owner of the mouse and of the files that a command acts on: the running program, or
// xk-r40-ctl itself when the program does not run. Both change the same record, macro store
// and files through the same core code.
class ControlHost {
public:
    virtual ~ControlHost() = default;

    // Whether this is the running xk-r40.
    virtual bool IsProgram() const = 0;
    // The folder of config.ini, the macro files and the skins.
    virtual std::filesystem::path ProgramDirectory() const = 0;
    // The record with the current configuration, its number and the language.
    virtual Settings& settings() = 0;
    // The user macros of the current language.
    virtual const MacroStore& macros() = 0;
    // The function names of the current language's main layout; null when that layout cannot
    // be read, with the reason in `problem`.
    virtual const FunctionNameTable* LayoutFunctionNames(std::string& problem) = 0;
    virtual MouseStatus Mouse() = 0;

    // currentConfig becomes n and the record is loaded from its section; nothing is written.
    virtual void SelectConfiguration(int32_t n) = 0;
    // The upload of the apply button: config.ini and the mouse follow the record.
    virtual void Apply() = 0;
    // The user macros become those of a macro file (already checked to be readable), which
    // are then saved into the user macro file; false when that could not be written.
    virtual bool ReplaceUserMacros(const std::filesystem::path& file) = 0;
    // The factory reset of the configurations and the user macros, then the upload.
    virtual void FactoryReset() = 0;
};

} // namespace xk::ctl
