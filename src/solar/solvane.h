/* Solvane: direct-normal irradiance estimated from global horizontal irradiance.
 * The caller gets the address of the library's one SolarRecord from INIT_DLL, fills the
 * nine fields of an hour and calls SOLVANE, which returns the estimate in W/m2. */
#ifndef SOLVANE_H
#define SOLVANE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* 36 bytes, nine 4-byte little-endian fields, no padding. -999.0 marks a missing value. */
typedef struct SolarRecord {
  float GlobalPrev;    /* global horizontal irradiance of the previous hour, W/m2 */
  float Global;        /* global horizontal irradiance of the hour, W/m2 */
  float GlobalNext;    /* global horizontal irradiance of the next hour, W/m2 */
  float CosZenithPrev; /* cosine of the solar zenith angle, previous hour */
  float CosZenith;     /* cosine of the solar zenith angle, this hour (negative: night) */
  float CosZenithNext; /* cosine of the solar zenith angle, next hour */
  float DewPointC;     /* dew point, deg C */
  int32_t DayOfYear;   /* 1..365 */
  float ElevationM;    /* site elevation, m */
} SolarRecord;

/* The exports, declared only where they are defined or linked directly: a program that
 * binds both libraries sees two INIT_DLL and takes them through dlsym instead. */
#ifdef SOLVANE_PROTOTYPES
/* Address of the library's SolarRecord; the same for the life of the process. */
SolarRecord* INIT_DLL(void);

/* Direct-normal irradiance of the hour in the record, W/m2 (computed in single
 * precision, returned widened); never negative. */
double SOLVANE(void);
#endif

typedef SolarRecord* (*SolvaneInitFn)(void);
typedef double (*SolvaneEstimateFn)(void);

#ifdef __cplusplus
}
static_assert(sizeof(SolarRecord) == 36, "SolarRecord must be 36 bytes");
#endif

#endif /* SOLVANE_H */
