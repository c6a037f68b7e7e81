#pragma once
// What the core tests share: GoogleTest, giflib as the judge, temporary folders, data files.

#include "data_table.h"
#include "gif_compositor.h"
#include "gif_judge.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace pestrolik;
using namespace pestrolik::testing;
namespace fs = std::filesystem;
