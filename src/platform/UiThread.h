// Running work on the user-interface thread from any other thread. The editor's format thread uses
// it to have its layout slices run where the text lives, so that no lock is needed.
#pragma once

#include <functional>

namespace zandor::platform {

// Queues task to run on the UI thread through its event loop; any thread may call it. Without a
// running application the task is dropped (there is no UI thread to run it).
void PostToUiThread(std::function<void()> task);

} // namespace zandor::platform
