/* Ftpack: packs the FT weather text file <base>.ft into the binary weather file
 * <base>.bin, both in the process's current directory. The caller writes the base name
 * into the 128-byte buffer that INIT_DLL returns (blank-padded, no terminator). The name
 * is the buffer without its trailing blanks; it must not be empty, hold a "/" or a NUL
 * byte, or fill all 128 bytes. A ".bin" file is written only from an FT file read
 * completely and exactly; docs/bin-format.md describes its layout. */
#ifndef FTPACK_H
#define FTPACK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define FTPACK_NAME_BUFFER_SIZE 128

/* Result codes of FTPACK. */
#define FTPACK_OK 0
#define FTPACK_ERR_FILENAME (-1)
#define FTPACK_ERR_OPEN_FT 1
#define FTPACK_ERR_HEADER 2
#define FTPACK_ERR_HOURLY 3
#define FTPACK_ERR_WRITE_BIN 4
#define FTPACK_ERR_OPEN_BIN 11
/* An unexpected failure inside the library (for example, out of memory). */
#define FTPACK_ERR_INTERNAL 99

/* The exports, declared only where they are defined or linked directly: a program that
 * binds both libraries sees two INIT_DLL and takes them through dlsym instead. */
#ifdef FTPACK_PROTOTYPES
/* Address of the library's name buffer (128 bytes). */
char* INIT_DLL(void);

/* Packs <name>.ft into <name>.bin; returns one of the codes above. */
int32_t FTPACK(void);
#endif

typedef char* (*FtpackInitFn)(void);
typedef int32_t (*FtpackPackFn)(void);

#ifdef __cplusplus
}
#endif

#endif /* FTPACK_H */
