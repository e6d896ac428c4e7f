/* C functions called from main.zn. The compiler compiles checksum.c with g++, and the
   generated code includes this header, so C linkage keeps the names plain either way. */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

uint32_t Crc32(char* data, int32_t length);
void CountKinds(char* text, int32_t length, int32_t* letters, int32_t* digits);

#ifdef __cplusplus
}
#endif
