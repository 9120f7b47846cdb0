/* StatsKEVO: contest-scoring plug-in for an amateur-radio logging host.
 *
 * The host loads the library once (StatsKEVO.dll on 32-bit Windows, StatsKEVO.so elsewhere)
 * and calls these entries one at a time, from one thread. The plug-in keeps its whole state
 * in memory for the life of the loaded library: the QSO log, the band list, the exchange list
 * read from "RADL.lst" and three contest settings. Nothing is read at load and nothing is saved
 * at unload; the only file ever written is "ExtLog.txt" (RunCommand0 with command 0).
 *
 * Contract:
 *  - Texts are zero-terminated 8-bit texts in the host's ANSI code page, never decoded and
 *    compared byte for byte. Texts passed in are only read during the call; the plug-in copies
 *    what it keeps. A null text that would be stored counts as the empty text.
 *  - Texts returned belong to the plug-in. GetSetName's and RunCommand0's stay valid while the
 *    library is loaded; GetResult0's stays valid until the next GetResult0.
 *  - CheckCall0 writes a whole text with its zero byte into at most one of the caller's two
 *    buffers and never knows their size: the caller provides the room.
 *  - ResetStats0, AddData0 and RemoveData0 always return 1. No exception and no error code
 *    ever reaches the host; the one failure shown to the operator is a message box when
 *    "ExtLog.txt" cannot be written.
 *  - Every entry is exported twice: under the plain C name below and under a decorated C++
 *    name with the same parameter list, both leading to the same code. The decorated names use
 *    the function names below except CheckCallFunc0 (for CheckCall0), StatsGetExchgCount0 (for
 *    GetExchgCount0) and StatsIsValidExchg0 (for IsValidExchg0). On 32-bit Windows every entry
 *    is cdecl and the decorations are MSVC's; elsewhere they are the platform C++ compiler's.
 *  - Counters, points and scores are signed 32-bit and wrap on overflow.
 */
#ifndef STATSKEVO_H_
#define STATSKEVO_H_

#include <stdint.h>

#if defined(_WIN32)
#define KEVO_CALL __cdecl
#else
#define KEVO_CALL
#endif

#if defined(KEVO_BUILDING_LIBRARY)
#if defined(_WIN32)
#define KEVO_EXPORT
#else
#define KEVO_EXPORT __attribute__((visibility("default")))
#endif
#else
#define KEVO_EXPORT
#endif

/* The host's date-time value: days since 30 December 1899 00:00 (time of day as the fraction)
 * and a status: 0 valid, 1 invalid, 2 null; any other status counts as valid. 12 bytes. */
#pragma pack(push, 4)
#ifdef __cplusplus
class COleDateTime {
 public:
  double m_dt;
  int32_t m_status;
};
#else
typedef struct COleDateTime {
  double m_dt;
  int32_t m_status;
} COleDateTime;
#endif
#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(COleDateTime) == 12, "COleDateTime crosses the boundary as 12 bytes");
extern "C" {
#endif

/* The one scoring set: "KEVO" for index 0, the empty text for any other index. */
KEVO_EXPORT const char* KEVO_CALL GetSetName(int32_t set_index);
/* Always 1. */
KEVO_EXPORT int32_t KEVO_CALL GetNumberOfSets(void);
/* Always 1, whatever the arguments. */
KEVO_EXPORT int32_t KEVO_CALL GetExchgCount0(const char* p1, const char* p2, const char* p3);
/* Always 0, whatever the arguments. */
KEVO_EXPORT int32_t KEVO_CALL IsValidExchg0(const char* p1, const char* p2, const char* p3,
                                            const char* p4, int32_t p5, int32_t p6, int32_t p7);
/* Shows "No additional setup for this contest filter"; changes nothing. */
KEVO_EXPORT void KEVO_CALL SetupSet0(void);
/* Command 0 writes "ExtLog.txt" with `argument` in every record; other commands do nothing.
 * Always returns the same empty text. */
KEVO_EXPORT const char* KEVO_CALL RunCommand0(int32_t command, const char* argument);

/* Empties the QSO log and the band list, stores the settings (p2 rate suppression, p17 own
 * number, p22 own region code) and reloads the exchange list from "RADL.lst" or
 * "Plugins/RADL.lst". Returns 1. */
KEVO_EXPORT int32_t KEVO_CALL ResetStats0(const char* p1, int32_t no_rates, const char* p3,
                                          const COleDateTime* p4, const COleDateTime* p5,
                                          const char* p6, const char* p7, const char* p8,
                                          const char* p9, const char* p10, const char* p11,
                                          const char* p12, const char* p13, const char* p14,
                                          const char* p15, int32_t p16, int32_t own_number,
                                          int32_t p18, double p19, double p20, const char* p21,
                                          const char* own_region, const char* p23);

/* Stores a QSO unless the same call, band, mode and date-time is stored; records a new band.
 * Reads p2 call, p3 date-time, p9 mode, p12 sent, p13 received, p23 prefix, p30 region,
 * p32 band. Returns 1. */
KEVO_EXPORT int32_t KEVO_CALL
AddData0(const char* p1, const char* call, const COleDateTime* time, const COleDateTime* p4,
         const COleDateTime* p5, const COleDateTime* p6, uint32_t p7, uint32_t p8, const char* mode,
         const char* p10, const char* p11, const char* sent, const char* rcvd, const char* p14,
         const char* p15, const char* p16, const char* p17, const char* p18, const char* p19,
         const char* p20, const char* p21, const char* p22, const char* prefix, int32_t p24,
         int32_t p25, int32_t p26, double p27, double p28, const char* p29, const char* region,
         const char* p31, const char* band, const char* p33);

/* Removes the stored QSO with the same call, band, mode and date-time, if any. Returns 1. */
KEVO_EXPORT int32_t KEVO_CALL
RemoveData0(const char* p1, const char* call, const COleDateTime* time, const COleDateTime* p4,
            const COleDateTime* p5, const COleDateTime* p6, uint32_t p7, uint32_t p8,
            const char* mode, const char* p10, const char* p11, const char* sent, const char* rcvd,
            const char* p14, const char* p15, const char* p16, const char* p17, const char* p18,
            const char* p19, const char* p20, const char* p21, const char* p22, const char* prefix,
            int32_t p24, int32_t p25, int32_t p26, double p27, double p28, const char* p29,
            const char* region, const char* p31, const char* band, const char* p33);

/* Pre-logging check of a call: 0 duplicate (message into dupe_message), 1 no new multiplier,
 * 2 new multiplier (expected exchange into hint when not empty), 4 the two band texts differ.
 * Changes no state. */
KEVO_EXPORT int32_t KEVO_CALL CheckCall0(
    const char* call, uint32_t p2, uint32_t p3, const char* mode, const char* p5, const char* p6,
    const char* p7, const char* p8, const char* p9, const char* p10, const char* p11,
    const char* p12, const char* p13, const char* prefix, int32_t p15, int32_t number, int32_t p17,
    double p18, double p19, const char* p20, const char* p21, const char* p22, const char* p23,
    const char* p24, const char* band, const char* band2, char* hint, char* dupe_message);

/* The score summary text; the score (total points x total multipliers) goes into *score
 * when score is not null. */
KEVO_EXPORT const char* KEVO_CALL GetResult0(int32_t* score);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* STATSKEVO_H_ */
