// Inputs that the fuzz target found troublesome, kept as regression tests.
#include <gtest/gtest.h>
