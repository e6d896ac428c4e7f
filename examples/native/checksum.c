#include "checksum.h"

/* The CRC-32 of zip and PNG (reflected polynomial 0xEDB88320), bit by bit. */
uint32_t Crc32(char* data, int32_t length) {
	uint32_t crc = 0xFFFFFFFFu;
	for (int32_t i = 0; i < length; i++) {
		crc ^= (uint8_t)data[i];
		for (int bit = 0; bit < 8; bit++) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
	}
	return ~crc;
}

/* Results come back through pointers to the caller's variables. */
void CountKinds(char* text, int32_t length, int32_t* letters, int32_t* digits) {
	*letters = 0;
	*digits = 0;
	for (int32_t i = 0; i < length; i++) {
		char c = text[i];
		if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) ++*letters;
		else if (c >= '0' && c <= '9') ++*digits;
	}
}
