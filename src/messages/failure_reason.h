#pragma once
// Why a file could not be created or written, in Russian (UTF-8).

#include <string>

namespace pestrolik {

// Words of our own for the causes a user meets; any other errno as a Russian lead-in
// followed by the system's own text. Empty for 0.
std::string failureReasonText(int errorNumber);

}  // namespace pestrolik
