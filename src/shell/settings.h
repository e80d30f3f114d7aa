// Settings file and message texts: the message lookup, the gradient settings and the band colours
// of the background, the title font and the gradient palette.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform.h"
#include "shell/message_ids.h"

enum : int { GRADIENT_BANDS = 96 };

// LoadMessageText - the text of message id: "Msg<id>" of [Language] in the settings file with each
// "|" made a line break (CR LF), or the built-in text when the key is missing or holds only DEL.
// Never writes more than size bytes: a text that grows past the buffer is cut, and a line break
// that does not fit whole is left out with everything after it.
void LoadMessageText(HINSTANCE instance, int id, char *buffer, size_t size);

// ExpandLineBreaks - replaces every "|" of the terminated text in buffer by CR LF within size
// bytes, cutting as LoadMessageText describes.
void ExpandLineBreaks(char *buffer, size_t size);

// ReadGradientSettings - reads the start and end colours and No Background from [Settings].
void ReadGradientSettings();

struct BandRgb {
    int r, g, b;
};

// BandColour - the colour of band 0 (top) to 95 (bottom): start + delta * band / 95 per channel,
// the division truncating toward zero, each channel clamped to 0..255.
BandRgb BandColour(const int32_t start[3], const int32_t delta[3], int band);

// BandBottom - the bottom edge of a band in a client area of the given height: (band + 1) *
// height / 96; each band's top is the previous band's bottom.
int32_t BandBottom(int band, int32_t height);

// CreateTitleFontAndPalette - creates the title font from the settings, notes the screen size and
// builds the 96-colour gradient palette on displays of 8 bits per pixel or more. Windows only.
void CreateTitleFontAndPalette();
