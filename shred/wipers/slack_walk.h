// The folder slack wiper: every file a path names, beneath folders at any depth, with pause,
// abort and progress through a progress file or two small callbacks.
#pragma once

#include "shred/wipers/progress_file.h"
#include "shred/wipers/slack_wiper.h"

#include <string>

namespace shred::wipers {

using SlackProgressCallback = void(SHRED_CALLBACK*)(int value, int ctx, void** pauseEvent);
using SlackFileDoneCallback = void(SHRED_CALLBACK*)(int one, int ctx);

inline constexpr wchar_t kSlackEventName[] = L"SlackEvent";
// The algorithm is refused or has no passes: nothing is touched.
inline constexpr int kSlackRunRefused = -2;

struct SlackRequest
{
    std::wstring path;
    int algorithmId = 0;
    int ctx = 0;
    SlackFileDoneCallback done = nullptr;
    const void* progress = nullptr;
    void** pauseEvent = nullptr;
    char* abortFlag = nullptr;
    // 0 makes the call count the targets itself; a caller's own total is used as it stands.
    int totalCount = 0;
};

// 1 done (also when single files failed), -1 the path matches nothing it may wipe, -2 refused
// algorithm, -20 aborted. The path is resolved once, as the shred engine resolves its targets;
// every file is then addressed as the folder searched + the name found there, names the system
// returns that are not literal names (IsLiteralName) and links are never followed, and folders
// below the engine's depth bound are not entered.
int WipeFileSlack(const SlackRequest& request, ISlackSystem& system,
                  IProgressSystem& progressSystem, const SlackServices& services);

}  // namespace shred::wipers
