-- Drives Neovim's own language server client on the texts of a scenario
-- folder and writes what the editor shows into a JSON file. Run headless by
-- neovim_client_test.cpp; every step waits with a time limit, and the editor
-- quits whatever happens.
local out = { steps = {} }
local folder = os.getenv('LSP_FOLDER')
local function step(name) table.insert(out.steps, name) end

local ok, failure = pcall(function()
  vim.cmd('edit ' .. vim.fn.fnameescape(folder .. '/Brisena_Tarvo_47306-.txt'))
  local buf = vim.api.nvim_get_current_buf()
  out.fileformat = vim.bo[buf].fileformat
  local client = vim.lsp.start_client({
    name = 'scenario_tool',
    cmd = { os.getenv('LSP_TOOL'), 'lsp' },
    root_dir = folder,
    on_exit = function(code) out.exit_code = code end,
  })
  vim.lsp.buf_attach_client(buf, client)
  step('attached')

  -- The typo typed into the copy is shown.
  out.typo_shown = vim.wait(20000, function() return #vim.diagnostic.get(buf) > 0 end, 20)
  out.diagnostics = {}
  for _, d in ipairs(vim.diagnostic.get(buf)) do
    table.insert(out.diagnostics, { line = d.lnum, column = d.col, end_column = d.end_col,
                                    severity = d.severity, message = d.message })
  end
  step('diagnostics')

  -- Fixing it clears it.
  local row = tonumber(os.getenv('LSP_TYPO_LINE'))
  vim.api.nvim_buf_set_text(buf, row, 0, row, 7, { 'segnale' })
  out.cleared = vim.wait(20000, function() return #vim.diagnostic.get(buf) == 0 end, 20)
  step('fixed')

  -- Hover on a station row: the floating window's lines, as the author reads them.
  vim.api.nvim_win_set_cursor(0, { tonumber(os.getenv('LSP_STATION_LINE')) + 1, 2 })
  local editor_window = vim.api.nvim_get_current_win()
  vim.lsp.buf.hover()
  local float
  vim.wait(20000, function()
    for _, w in ipairs(vim.api.nvim_list_wins()) do
      if vim.api.nvim_win_get_config(w).relative ~= '' then float = w return true end
    end
    return false
  end, 20)
  if float then
    out.hover = vim.api.nvim_buf_get_lines(vim.api.nvim_win_get_buf(float), 0, -1, false)
    vim.api.nvim_win_close(float, true)
  end
  step('hover')

  -- The outline: the document symbols as this editor lists them (its quickfix list).
  vim.api.nvim_set_current_win(editor_window)
  vim.lsp.buf.document_symbol()
  vim.wait(20000, function() return #vim.fn.getqflist() > 0 end, 20)
  out.outline = {}
  for _, item in ipairs(vim.fn.getqflist()) do
    table.insert(out.outline, { line = item.lnum, column = item.col, text = item.text })
  end
  step('outline')

  -- shutdown then exit.
  vim.lsp.stop_client(client)
  vim.wait(20000, function() return out.exit_code ~= nil end, 20)
  step('stopped')
end)
if not ok then out.failure = tostring(failure) end
local file = io.open(os.getenv('LSP_RESULT'), 'w')
file:write(vim.fn.json_encode(out))
file:close()
vim.cmd('qa!')
