#pragma once

#include "ctl/FunctionNames.h"
#include "macro/MacroStore.h"
#include "settings/IniDocument.h"
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
    // The program's read-only data: the skins with their factory macros.
    virtual std::filesystem::path DataFolder() const = 0;
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
    // The upload of the apply button: config.ini and the mouse follow the record. False when
    // the mouse did not answer.
    virtual bool Apply() = 0;
    // The macros of a checked macro file are saved into the user macro file, and only when
    // that worked do they become the user macros; false when it could not be written (then
    // nothing changed).
    virtual bool ReplaceUserMacros(const IniDocument& macros) = 0;
};

} // namespace xk::ctl
