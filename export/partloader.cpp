// SPDX-License-Identifier: GPL-3.0-or-later
// The part module opened by the programs at their first STEP or 3MF export.
//
// Where it is looked for: beside the running program (the build tree, where
// both programs and the module lie together, and the installed window
// program, which the module is installed beside), or else beside the program
// that the link `tsumugi` next to the running one leads to (the installed
// tsumugi-cli: the install puts that link to the window program in its
// directory). The first that exists is opened; if none does, the one beside
// the running program is named in the message.
#include "export/partmodule.h"

#include "base/apperror.h"

#include <dlfcn.h>

#include <filesystem>
#include <new>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace {

struct PartModule {
    std::string path;
    std::string failure;   // why it is not used; empty when it is
    PartStepFunction* step = nullptr;
    Part3mfFunction* threeMf = nullptr;
};

std::string PartModulePath()
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error).parent_path();
    const fs::path beside = program / kPartModuleFile;
    if (fs::exists(beside, error))
        return beside.string();
    const fs::path window = fs::canonical(program / "tsumugi", error);
    if (!error && fs::exists(window.parent_path() / kPartModuleFile, error))
        return (window.parent_path() / kPartModuleFile).string();
    return beside.string();
}

// The text of the last dl* failure, or `otherwise` when there is none.
std::string DlFailure(const char* otherwise)
{
    const char* text = ::dlerror();
    return text ? text : otherwise;
}

PartModule OpenPartModule()
{
    PartModule module;
    module.path = PartModulePath();
    ::dlerror();
    void* handle = ::dlopen(module.path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        module.failure = DlFailure("dlopen");
        return module;
    }
    // The first entry point missing is the one named.
    auto symbol = [&](const char* name) {
        void* address = module.failure.empty() ? ::dlsym(handle, name) : nullptr;
        if (!address && module.failure.empty())
            module.failure = DlFailure(name);
        return address;
    };
    auto* interfaceVersion = reinterpret_cast<PartModuleInterfaceFunction*>(symbol(kPartModuleInterfaceSymbol));
    auto* step = reinterpret_cast<PartStepFunction*>(symbol(kPartStepSymbol));
    auto* threeMf = reinterpret_cast<Part3mfFunction*>(symbol(kPart3mfSymbol));
    if (const int version = module.failure.empty() ? interfaceVersion() : kPartModuleInterface;
        version != kPartModuleInterface) {
        module.failure = "インタフェースの版 ";
        module.failure += std::to_string(version);
        module.failure += "、このプログラムは ";
        module.failure += std::to_string(kPartModuleInterface);
    }
    if (!module.failure.empty()) {
        ::dlclose(handle);
        return module;
    }
    module.step = step;
    module.threeMf = threeMf;
    return module;
}

// Opened at the first call, once for the process.
const PartModule& LoadedPartModule()
{
    static const PartModule module = OpenPartModule();
    return module;
}

[[noreturn]] void Unavailable(const char* format, const PartModule& module)
{
    std::string message = format;
    message += " ファイルを作れません。モジュール ";
    message += module.path;
    message += " を読み込めません (";
    message += module.failure;
    message += ")";
    throw AppError(message);
}

std::string Made(int result, std::string& bytes, const std::string& message)
{
    switch (result) {
    case kPartMade:
        return std::move(bytes);
    case kPartRefused:
        throw AppError(message);
    case kPartOutOfMemory:
        throw std::bad_alloc();
    default:
        throw std::runtime_error(message);
    }
}

}  // namespace

std::string StepThroughModule(const GearProfile& profile, const SolidInput& solid, const HoleShape& hole,
                              const std::string& title)
{
    const PartModule& module = LoadedPartModule();
    if (!module.step)
        Unavailable("STEP", module);
    std::string bytes, message;
    const int result = module.step(profile, solid, hole, title, bytes, message);
    return Made(result, bytes, message);
}

std::string ThreeMfThroughModule(const TriangleSurface& surface, const std::string& title)
{
    const PartModule& module = LoadedPartModule();
    if (!module.threeMf)
        Unavailable("3MF", module);
    std::string bytes, message;
    const int result = module.threeMf(surface, title, bytes, message);
    return Made(result, bytes, message);
}
