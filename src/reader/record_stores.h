// The record stores: each puts one row's object into the scenario model's
// cells, station table or mountain slots, recording an error where the row
// does not fit. The reader's passes call them; the installer's window names
// them as its own operations.
#pragma once

#include <cstdint>

#include "model/scenario_model.h"

namespace reader {

void memo_montagna(model::scenario_model& model, std::int32_t inizio, std::int32_t fine,
                   std::int32_t tipo);
void memo_indicatori_v_max(model::scenario_model& model, std::int32_t posizione, std::int32_t vas,
                           std::int32_t vbs, std::int32_t vcs, std::int32_t strisces,
                           std::int32_t vad, std::int32_t vbd, std::int32_t vcd,
                           std::int32_t strisced);
void memo_segnale(model::scenario_model& model, std::int32_t posizione, std::int32_t sx,
                  std::int32_t s1, std::int32_t s2, std::int32_t s3, std::int32_t rapp,
                  std::int32_t dx, std::int32_t d1, std::int32_t d2, std::int32_t d3,
                  std::int32_t tempo);
void memo_rallentamento(model::scenario_model& model, std::int32_t x, std::int32_t v,
                        std::int32_t l, std::int32_t f_tt, std::int32_t f_ta, std::int32_t d_v);
// Orders the three chainage references in entries 81 to 83 (see its definition).
void progressive_ordina(model::scenario_model& model);

}  // namespace reader
