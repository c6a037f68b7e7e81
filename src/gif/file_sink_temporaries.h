#pragma once
// The hidden temporaries FileSink writes where a file system has no unnamed files,
// ".pestrolik-<pid>-<n>.part" in the target folder, and the sweep of those a dead
// process left behind (a kill that no handler sees, a power cut).

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pestrolik {

// ".pestrolik-<pid>-<serial>.part"
std::string hiddenTemporaryName(int pid, unsigned serial);

// The pid in a name hiddenTemporaryName could have made; nothing for any other name.
std::optional<int> hiddenTemporaryOwner(std::string_view name);

// Whether `name` is a temporary whose process `alive` says is gone.
bool deadProcessTemporary(std::string_view name, const std::function<bool(int pid)>& alive);

// Takes the writer's hold on its temporary (`fd`), which the sweep respects while the
// writer lives; best effort.
void holdTemporary(int fd);

// Removes from `folder` every temporary of a process that no longer exists and that
// no one holds.
void sweepDeadTemporaries(const std::string& folder);

}  // namespace pestrolik
