#include <gtest/gtest.h>

#include "ui/AboutMessage.h"
