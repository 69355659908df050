// Route assembly: the reader, then the walk over the cells, the header checks
// and stamps, and the compiled files.
#pragma once

#include <cstdint>
#include <functional>

class Form1;

namespace assembly {

// The start of route assembly: plan_flag from `j`, the error record and the
// station table cleared, then `read` fills the model from the two texts.
void prepare_and_read(Form1& form, std::int32_t j, const std::function<void()>& read);

// The walk, the header checks and stamps. Ends the run with a
// std::runtime_error when the reader left no track cells (nothing to
// compile), and through errore when a header slot is occupied.
void assemble(Form1& form);

// assemble, then the three compiled files.
void assemble_and_write(Form1& form);

}  // namespace assembly
