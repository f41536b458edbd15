#pragma once
// Every allocation through operator new in the test program is counted, for
// the tests that bound the work a piece of code does in bytes rather than in
// time. The count lives in a file of its own so that no test inlines the
// replaced operators.
#include <cstddef>

std::size_t AllocatedBytes();
