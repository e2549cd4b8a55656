// The encoding codes of the three detectors side by side. Find in files
// numbers encodings its own way; the compare window and the editor share one
// numbering (checked here), which the names below follow.
#pragma once

#include "EncodingDetector.h"
#include "compare_engine.h"
#include "filehead.h"

#include <string>

namespace corestest {

static_assert(pairview::kUtf8 == ENC_UTF8 && pairview::kUtf16LE == ENC_UTF16LE && pairview::kUtf16BE == ENC_UTF16BE &&
                  pairview::kAnsi == ENC_ANSI && pairview::kUtf32LE == ENC_UTF32LE &&
                  pairview::kUtf32BE == ENC_UTF32BE && pairview::kScsu == ENC_SCSU && pairview::kBocu1 == ENC_BOCU1 &&
                  pairview::kUtf7 == ENC_UTF7 && pairview::kUtfEbcdic == ENC_UTFEBCDIC,
              "the compare window and the editor number encodings alike");

// The editor's code for a find-in-files code (-1 for none).
inline int EditorCodeOfFindInFiles(int code)
{
    switch (code) {
    case filescan::EncodingAnsi: return ENC_ANSI;
    case filescan::EncodingScsu: return ENC_SCSU;
    case filescan::EncodingBocu1: return ENC_BOCU1;
    case filescan::EncodingUtfEbcdic: return ENC_UTFEBCDIC;
    case filescan::EncodingUtf7: return ENC_UTF7;
    case filescan::EncodingUtf8: return ENC_UTF8;
    case filescan::EncodingUtf16Le: return ENC_UTF16LE;
    case filescan::EncodingUtf16Be: return ENC_UTF16BE;
    case filescan::EncodingUtf32Le: return ENC_UTF32LE;
    case filescan::EncodingUtf32Be: return ENC_UTF32BE;
    }
    return -1;
}

// A readable name for an editor (or compare window) code.
inline std::string EncodingName(int code)
{
    switch (code) {
    case ENC_ANSI: return "ANSI";
    case ENC_SCSU: return "SCSU";
    case ENC_BOCU1: return "BOCU-1";
    case ENC_UTFEBCDIC: return "UTF-EBCDIC";
    case ENC_UTF7: return "UTF-7";
    case ENC_UTF8: return "UTF-8";
    case ENC_UTF16LE: return "UTF-16LE";
    case ENC_UTF16BE: return "UTF-16BE";
    case ENC_UTF32LE: return "UTF-32LE";
    case ENC_UTF32BE: return "UTF-32BE";
    }
    return "?" + std::to_string(code);
}

} // namespace corestest
