#pragma once
// What the core tests share: GoogleTest, giflib as the judge, temporary folders, data files.

#include "data_table.h"
#include "gif_judge.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <sys/stat.h>

using namespace pestrolik;
using namespace pestrolik::testing;
namespace fs = std::filesystem;
