// Reading digits back from a picture of Tempulo's face, by comparing it with
// the program's own digit images (BITMAP resources 320-329 for 0-9).
#pragma once

#include "support/WinTest.h"

#include <string>
#include <vector>

namespace bench {

// Where the default face ("ddddd hh:mm:ss" in 24-pixel digit cells with
// 9-pixel blank and colons) has its seconds, in client coordinates.
const int SecondsTensX = 243;
const int SecondsUnitsX = 267;

class FaceDigits {
public:
    static const int FirstDigitId = 320;

    // Reads the ten digit images from the program file, loaded as data;
    // false, and nothing loaded, when the file or any image is missing.
    bool Load(const std::wstring &programPath);
    bool Loaded() const { return digits_.size() == 10; }

    // The digit whose image stands with its top left corner at x, y of the
    // picture, judged on the part inside the picture; -1 when none fits.
    int Read(const wintest::Capture &picture, int x, int y) const;
    // The two-digit value whose digits start at tensX and unitsX; -1 when
    // either cannot be read.
    int ReadPair(const wintest::Capture &picture, int tensX, int unitsX, int y) const;

private:
    // Ink (1) and background (0) of an image: whatever differs clearly from
    // its most frequent colour is ink, so that the comparison holds whatever
    // colours the face paints the images in.
    struct Shape {
        int width = 0;
        int height = 0;
        std::vector<unsigned char> ink;
    };
    static Shape ShapeOf(const DWORD *pixels, int stride, int width, int height);
    std::vector<Shape> digits_;
};

} // namespace bench
