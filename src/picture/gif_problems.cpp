// The GIF reader's problem messages and ReportProblem. Depends on the GIF records only.
#include "picture/gif_problems.h"

#include "picture/gif_contents.h"

const char kGifUnknownBlock[] = "unknown block type %d at file offset %d";
const char kGifOddGraphicExtension[] = "odd graphic extension format";
const char kGifBadLoopExtension[] = "bad loop extension";
const char kGifTrailingGarbage[] = "trailing garbage after GIF ignored";
const char kGifMinCodeSizeTooBig[] = "min_code_size too big";
const char kGifMinCodeSizeTooSmall[] = "min_code_size too small";
const char kGifUnexpectedCode[] = "unexpected code";
const char kGifTooMuchImageData[] = "too much image data";
const char kGifBadCode[] = "bad code";
const char kGifNotEnoughImageData[] = "not enough image data for image size";

void ReportProblem(DecodeContext* context, const char* message) {
  GifContents* contents = context->contents;
  contents->errorCount += 1;
  if (context->hook != nullptr) context->hook(message, contents->frameCount, context->hookValue);
}
