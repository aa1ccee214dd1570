#pragma once
// JPEG pictures: decoded with libjpeg into 24-bit bitmaps that GDI draws directly.

#include <windows.h>

#include <cstddef>

// Decodes a complete JPEG file into a top-down 24-bit DIB section owned by the caller. A file
// that libjpeg refuses or only decodes with a warning (cut short, corrupt data) raises
// Exception naming what, so a damaged picture is never shown half drawn.
HBITMAP DecodeJpeg(const unsigned char* data, std::size_t size, const char* what);

// True when the program carries raw data (RCDATA) under this identifier.
bool HasPictureResource(int id);
// Decodes the JPEG picture carried under this identifier; a missing one raises Exception.
HBITMAP LoadPictureResource(int id);
// The width and height of the JPEG picture carried under this identifier, read from its header
// without decoding the picture; a missing or unreadable one raises Exception.
SIZE PictureResourceSize(int id);
