// The reader's and the assembly's operations as the window names them: each
// a call into src/reader or src/assembly on the window's model.
#include "assembly/check_codes.h"
#include "driver/Form1.h"
#include "reader/record_stores.h"

void Form1::progressive_ordina() {
  reader::progressive_ordina(model);
}

void Form1::memo_montagna(std::int32_t inizio, std::int32_t fine, std::int32_t tipo) {
  reader::memo_montagna(model, inizio, fine, tipo);
}

void Form1::memo_indicatori_v_max(std::int32_t posizione, std::int32_t vas, std::int32_t vbs,
                                  std::int32_t vcs, std::int32_t strisces, std::int32_t vad,
                                  std::int32_t vbd, std::int32_t vcd, std::int32_t strisced) {
  reader::memo_indicatori_v_max(model, posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced);
}

void Form1::memo_segnale(std::int32_t posizione, std::int32_t sx, std::int32_t s1, std::int32_t s2,
                         std::int32_t s3, std::int32_t rapp, std::int32_t dx, std::int32_t d1,
                         std::int32_t d2, std::int32_t d3, std::int32_t tempo) {
  reader::memo_segnale(model, posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo);
}

void Form1::memo_rallentamento(std::int32_t x, std::int32_t v, std::int32_t l, std::int32_t f_tt,
                               std::int32_t f_ta, std::int32_t d_v) {
  reader::memo_rallentamento(model, x, v, l, f_tt, f_ta, d_v);
}

std::int32_t Form1::codice_gara_og() const {
  return assembly::codice_gara_og(model);
}

std::int32_t Form1::codice_gara_st() const {
  return assembly::codice_gara_st(model);
}
