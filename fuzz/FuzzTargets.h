// The fuzz targets: each takes one input, runs the code under test on it and checks what must hold
// for every input (FuzzCheck). libFuzzer drives one of them per executable; the regression replay
// runs the saved inputs through the same functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zandor::fuzz {

using FuzzFunction = int (*)(const uint8_t* data, size_t size);

struct FuzzTarget {
    const char* Name; // also the folder of its regressions: fuzz/regressions/<Name>/
    FuzzFunction Run;
};

int FuzzLoader(const uint8_t* data, size_t size);
int FuzzEdit(const uint8_t* data, size_t size);
int FuzzIni(const uint8_t* data, size_t size);
int FuzzRegistry(const uint8_t* data, size_t size);
int FuzzFontColour(const uint8_t* data, size_t size);
int FuzzKeywords(const uint8_t* data, size_t size);
int FuzzLanguage(const uint8_t* data, size_t size);
int FuzzURLs(const uint8_t* data, size_t size);

const std::vector<FuzzTarget>& FuzzTargets();

// ---- The targets of the program's features (fuzz/app/, library zandor_fuzzharness_app): opening
// files, the text commands, find and replace, the pictures and exports, the command line and the
// print layout. They need the widgets and, some of them, an application object.
int FuzzDecoding(const uint8_t* data, size_t size);
int FuzzTransforms(const uint8_t* data, size_t size);
int FuzzFindReplace(const uint8_t* data, size_t size);
int FuzzPictures(const uint8_t* data, size_t size);
int FuzzCmdLine(const uint8_t* data, size_t size);
int FuzzPrintLayout(const uint8_t* data, size_t size);

const std::vector<FuzzTarget>& AppFuzzTargets();

} // namespace zandor::fuzz
