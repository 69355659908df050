#include "driver/Form1.h"

void Form1::progressive_ordina() {}
void Form1::memo_montagna(std::int32_t, std::int32_t, std::int32_t) {}
void Form1::memo_indicatori_v_max(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                  std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                  std::int32_t) {}
void Form1::memo_segnale(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                         std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                         std::int32_t) {}
void Form1::memo_rallentamento(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                               std::int32_t) {}
