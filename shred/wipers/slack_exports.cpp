#include "shred/wipers/slack_exports.h"

#include "shred/engine/path_walker.h"
#include "shred/engine/shred_settings.h"
#include "shred/engine/system_win32.h"
#include "shred/wipers/progress_file_win32.h"
#include "shred/wipers/slack_win32.h"

namespace shred::wipers {

SlackServices DefaultSlackServices()
{
    SlackServices services;
    services.buildPasses = [](int algorithmId) -> std::optional<PassList> {
        _OW_RUN* run = BuildShredAlgorithm(algorithmId, kVolumewipe);
        if (run == nullptr)
            return std::nullopt;
        std::optional<PassList> passes = PassListFromRun(run);
        FreeShredAlgorithm(run);
        return passes;
    };
    services.resolveTarget = [](const std::wstring& path) {
        return ResolveShredTarget(DefaultShredSystem(), path);
    };
    services.countTargets = [](const std::optional<ShredTarget>& target) {
        return CountShredTargets(DefaultShredSystem(), kVolumewipe, target);
    };
    return services;
}

int ExportWipeSpecifiedFileSlack(const wchar_t* fileName, int algorithmId) noexcept
{
    try {
        return WipeSpecifiedFileSlack(fileName, algorithmId, DefaultSlackSystem(),
                                      DefaultSlackServices());
    } catch (...) {
        return kSlackWriteFailed;
    }
}

int ExportWipeFileSlack(core::CStringW path, int algorithmId, int ctx, SlackFileDoneCallback done,
                        void* progress, void** pauseEvent, char* abortFlag, int totalCount) noexcept
{
    const core::CStringHolder owned = core::CStringHolder::Adopt(path);
    try {
        SlackRequest request;
        request.path = std::wstring(owned.View());
        request.algorithmId = algorithmId;
        request.ctx = ctx;
        request.done = done;
        request.progress = progress;
        request.pauseEvent = pauseEvent;
        request.abortFlag = abortFlag;
        request.totalCount = totalCount;
        return WipeFileSlack(request, DefaultSlackSystem(), DefaultProgressSystem(),
                             DefaultSlackServices());
    } catch (...) {
        return kSlackNotFound;
    }
}

}  // namespace shred::wipers
