// The common controls of version 6 for the windows a test creates, as the program's
// manifest asks for them: while a CommonControls6 lives, the thread's windows are made
// with the version 6 classes (the edit box's cue banner needs them). The test programs
// themselves carry no manifest.
#pragma once

#include <windows.h>

#include <string>

#include "tools/launch/process_win.h"

namespace quilla::test_support {

class CommonControls6 {
  public:
    explicit CommonControls6(const launch::ScratchDirectory& dir) {
        const std::string manifest = dir.file("common-controls-6.manifest");
        if (!dir.write_file("common-controls-6.manifest",
                            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                            "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" "
                            "manifestVersion=\"1.0\"><dependency><dependentAssembly>"
                            "<assemblyIdentity type=\"win32\" "
                            "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
                            "processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" "
                            "language=\"*\"/></dependentAssembly></dependency></assembly>")) {
            return;
        }
        ACTCTXA context{};
        context.cbSize = sizeof context;
        context.lpSource = manifest.c_str();
        context_ = CreateActCtxA(&context);
        if (context_ != INVALID_HANDLE_VALUE && !ActivateActCtx(context_, &cookie_)) {
            ReleaseActCtx(context_);
            context_ = INVALID_HANDLE_VALUE;
        }
    }
    CommonControls6(const CommonControls6&) = delete;
    CommonControls6& operator=(const CommonControls6&) = delete;
    ~CommonControls6() {
        if (context_ != INVALID_HANDLE_VALUE) {
            DeactivateActCtx(0, cookie_);
            ReleaseActCtx(context_);
        }
    }

    bool active() const noexcept { return context_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

}  // namespace quilla::test_support
