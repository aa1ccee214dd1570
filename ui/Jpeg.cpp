#include "ui/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

#include "core/Exceptions.h"

namespace {

// libjpeg reports errors through callbacks that must not return; they jump back to the decode
// call, which turns the message into an exception outside the library's C frames.
struct TErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Return;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void FailDecode(j_common_ptr info) {
  auto* errors = reinterpret_cast<TErrorManager*>(info->err);
  (*info->err->format_message)(info, errors->Message);
  std::longjmp(errors->Return, 1);
}

// Warnings (level -1) mean damaged data that libjpeg would paper over: treated as failures.
void EmitMessage(j_common_ptr info, int level) {
  if (level < 0) FailDecode(info);
}

struct TDecoded {
  HBITMAP Bitmap = nullptr;
  int Width = 0;
  int Height = 0;
};

// Kept free of objects with destructors: a longjmp out of libjpeg skips them.
bool Decode(const unsigned char* data, std::size_t size, TDecoded& out, TErrorManager& errors) {
  jpeg_decompress_struct info{};
  info.err = jpeg_std_error(&errors.Base);
  errors.Base.error_exit = FailDecode;
  errors.Base.emit_message = EmitMessage;
  if (setjmp(errors.Return)) {
    jpeg_destroy_decompress(&info);
    if (out.Bitmap) DeleteObject(out.Bitmap);
    out.Bitmap = nullptr;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  out.Width = static_cast<int>(info.output_width);
  out.Height = static_cast<int>(info.output_height);

  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = out.Width;
  format.bmiHeader.biHeight = -out.Height;  // top-down: row 0 is the picture's first line
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  out.Bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (!out.Bitmap) {
    std::snprintf(errors.Message, sizeof errors.Message, "no memory for %dx%d pixels", out.Width,
                  out.Height);
    jpeg_destroy_decompress(&info);
    return false;
  }
  const std::size_t stride = (static_cast<std::size_t>(out.Width) * 3 + 3) & ~std::size_t{3};
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = static_cast<JSAMPLE*>(pixels) + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

// The picture's size from its header. Kept free of objects with destructors, as Decode is.
bool ReadSize(const unsigned char* data, std::size_t size, SIZE& out, TErrorManager& errors) {
  jpeg_decompress_struct info{};
  info.err = jpeg_std_error(&errors.Base);
  errors.Base.error_exit = FailDecode;
  errors.Base.emit_message = EmitMessage;
  if (setjmp(errors.Return)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  out = {static_cast<LONG>(info.image_width), static_cast<LONG>(info.image_height)};
  jpeg_destroy_decompress(&info);
  return true;
}

struct TPictureData {
  const unsigned char* Bytes;
  std::size_t Size;
  std::string What;
};

TPictureData PictureResource(int id) {
  HMODULE module = GetModuleHandleA(nullptr);
  std::string what = "resource " + std::to_string(id);
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw Exception("The program carries no picture " + what);
  return {static_cast<const unsigned char*>(data), SizeofResource(module, resource), what};
}

}  // namespace

HBITMAP DecodeJpeg(const unsigned char* data, std::size_t size, const char* what) {
  TErrorManager errors{};
  TDecoded decoded;
  if (!Decode(data, size, decoded, errors))
    throw Exception(std::string("Cannot decode the picture ") + what + ": " + errors.Message);
  GdiFlush();
  return decoded.Bitmap;
}

bool HasPictureResource(int id) {
  return FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10)) !=
         nullptr;
}

HBITMAP LoadPictureResource(int id) {
  const TPictureData picture = PictureResource(id);
  return DecodeJpeg(picture.Bytes, picture.Size, picture.What.c_str());
}

SIZE PictureResourceSize(int id) {
  const TPictureData picture = PictureResource(id);
  TErrorManager errors{};
  SIZE size{};
  if (!ReadSize(picture.Bytes, picture.Size, size, errors))
    throw Exception("Cannot read the size of the picture " + picture.What + ": " + errors.Message);
  return size;
}
