// For test programs whose cases each need a process of their own (the
// intro's show runs once per process). ctest runs one case per process
// anyway; run by hand with several cases selected, such a program runs each
// of them in a child process, one after another, instead of letting the
// later ones find the show already over.
#pragma once

namespace vesk::test {

// Called from a namespace-scope initialiser of the test program:
//   const bool kCasesApart = test::RunCasesApart();
bool RunCasesApart();

// The test main's part: installs the runner when a program asked for it.
void InstallCasesApartIfAsked();

}  // namespace vesk::test
