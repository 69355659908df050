// Route assembly after the reader: the walk over the cells, the header checks
// and stamps, and the compiled files.
#pragma once

class Form1;

namespace assembly {

// Ends the run with a std::runtime_error when the reader left no track cells:
// there is nothing to compile, and no compiled file is written.
void assemble_and_write(Form1& form);

}  // namespace assembly
