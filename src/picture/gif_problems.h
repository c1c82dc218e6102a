// The problem channel of the GIF reader: the fixed problem messages and ReportProblem, which counts
// a problem in the contents and passes it to the caller's hook. No file reading, no Windows.
#pragma once

struct DecodeContext;

// Called once per problem; message is valid only during the call, frameIndex is the number of
// frames stored so far (the index of the frame being read).
typedef void (*ProblemHook)(const char* message, int frameIndex, void* hookValue);

// Messages of the block parser.
extern const char kGifUnknownBlock[];        // printf format: the byte and its file offset
extern const char kGifOddGraphicExtension[];
extern const char kGifBadLoopExtension[];
extern const char kGifTrailingGarbage[];
// Messages of the LZW decoder.
extern const char kGifMinCodeSizeTooBig[];
extern const char kGifMinCodeSizeTooSmall[];
extern const char kGifUnexpectedCode[];
extern const char kGifTooMuchImageData[];
extern const char kGifBadCode[];
extern const char kGifNotEnoughImageData[];

// Adds 1 to the contents' error count, then calls the hook (if any) with the message, the
// contents' frame count and the hook value.
void ReportProblem(DecodeContext* context, const char* message);
