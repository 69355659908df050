-- Drives Neovim's own language server client, as the README's set-up starts
-- it and maps its keys, on the texts of a scenario folder and writes what the
-- editor shows into a JSON file. Run headless by
-- neovim_client_test.cpp; every step waits with a time limit, and the editor
-- quits whatever happens.
local out = { steps = {} }
local folder = os.getenv('LSP_FOLDER')
local function step(name) table.insert(out.steps, name) end

local function keys(typed)
  vim.api.nvim_feedkeys(vim.api.nvim_replace_termcodes(typed, true, false, true), 'mx', false)
end
local function first_client(buf)
  for id, _ in pairs(vim.lsp.buf_get_clients(buf)) do return id end
end
-- The floating window an action opened: its lines, then it is closed.
local function float_lines()
  local float
  vim.wait(20000, function()
    for _, w in ipairs(vim.api.nvim_list_wins()) do
      if vim.api.nvim_win_get_config(w).relative ~= '' then float = w return true end
    end
    return false
  end, 20)
  if not float then return nil end
  local lines = vim.api.nvim_buf_get_lines(vim.api.nvim_win_get_buf(float), 0, -1, false)
  vim.api.nvim_win_close(float, true)
  return lines
end

-- Texts left changed stay open when another is edited.
vim.opt.hidden = true

local ok, failure = pcall(function()
  -- The client is started and attached by the README's set-up (the init file).
  vim.cmd('edit ' .. vim.fn.fnameescape(folder .. '/Brisena_Tarvo_47306-.txt'))
  local buf = vim.api.nvim_get_current_buf()
  local editor_window = vim.api.nvim_get_current_win()
  out.fileformat = vim.bo[buf].fileformat
  out.omnifunc = vim.bo[buf].omnifunc
  vim.wait(20000, function() return first_client(buf) ~= nil end, 20)
  local client = first_client(buf)
  if not client then error('no client attached to the text') end
  step('attached')

  -- The typo typed into the copy is shown.
  out.typo_shown = vim.wait(20000, function() return #vim.diagnostic.get(buf) > 0 end, 20)
  out.diagnostics = {}
  for _, d in ipairs(vim.diagnostic.get(buf)) do
    table.insert(out.diagnostics, { line = d.lnum, column = d.col, end_column = d.end_col,
                                    severity = d.severity, message = d.message })
  end
  step('diagnostics')

  -- Signature help (CTRL-K) within a station row, on its second value.
  local station = tonumber(os.getenv('LSP_STATION_LINE'))
  vim.api.nvim_win_set_cursor(0, { station + 1, 19 })
  keys('<C-k>')
  out.signature = float_lines()
  vim.api.nvim_set_current_win(editor_window)
  step('signature help')

  -- The quick fix (\a) on the typo: the first action offered is taken.
  local row = tonumber(os.getenv('LSP_TYPO_LINE'))
  vim.ui.select = function(items, _, on_choice)
    out.fixes_offered = #items
    on_choice(items[1], 1)
  end
  vim.api.nvim_win_set_cursor(0, { row + 1, 2 })
  keys('<leader>a')
  out.cleared = vim.wait(20000, function() return #vim.diagnostic.get(buf) == 0 end, 20)
  out.fixed_row = vim.api.nvim_buf_get_lines(buf, row, row + 1, false)[1]
  step('fixed')

  -- Surplus numbers typed after the row's last value are shown, and the
  -- quick fix (\a) removes them.
  local line_end = #vim.api.nvim_buf_get_lines(buf, row, row + 1, false)[1]
  vim.api.nvim_buf_set_text(buf, row, line_end, row, line_end, { ', 7, 9' })
  out.surplus_shown = vim.wait(20000, function() return #vim.diagnostic.get(buf) > 0 end, 20)
  vim.api.nvim_win_set_cursor(0, { row + 1, line_end + 3 })
  keys('<leader>a')
  out.surplus_cleared = vim.wait(20000, function() return #vim.diagnostic.get(buf) == 0 end, 20)
  out.surplus_fixed_row = vim.api.nvim_buf_get_lines(buf, row, row + 1, false)[1]
  step('surplus removed')

  -- Hover on a station row: the floating window's lines, as the author reads them.
  vim.api.nvim_win_set_cursor(0, { station + 1, 2 })
  keys('K')
  out.hover = float_lines()
  step('hover')

  -- The outline: the document symbols as this editor lists them (its quickfix list).
  vim.api.nvim_set_current_win(editor_window)
  keys('<leader>o')
  vim.wait(20000, function() return #vim.fn.getqflist() > 0 end, 20)
  out.outline = {}
  for _, item in ipairs(vim.fn.getqflist()) do
    table.insert(out.outline, { line = item.lnum, column = item.col, text = item.text })
  end
  step('outline')

  -- Formatting (\f): the buffer as the server lays it out.
  vim.cmd('cclose')
  vim.api.nvim_set_current_win(editor_window)
  local tick = vim.api.nvim_buf_get_changedtick(buf)
  keys('<leader>f')
  vim.wait(20000, function() return vim.api.nvim_buf_get_changedtick(buf) ~= tick end, 20)
  vim.wait(200)
  out.formatted = vim.api.nvim_buf_get_lines(buf, 0, -1, false)
  out.formatted_fileformat = vim.bo[buf].fileformat
  step('formatted')

  -- A text started anew is checked too.
  vim.cmd('edit ' .. vim.fn.fnameescape(folder .. '/Nuovo_1-.txt'))
  local new_buf = vim.api.nvim_get_current_buf()
  out.new_text_attached = vim.wait(20000, function() return first_client(new_buf) ~= nil end, 20)
  out.new_text_omnifunc = vim.bo[new_buf].omnifunc
  step('new text')

  -- shutdown then exit.
  vim.lsp.stop_client(client)
  vim.wait(20000, function() return _G.scenario_exit_code ~= nil end, 20)
  out.exit_code = _G.scenario_exit_code
  step('stopped')
end)
if not ok then out.failure = tostring(failure) end
local file = io.open(os.getenv('LSP_RESULT'), 'w')
file:write(vim.fn.json_encode(out))
file:close()
vim.cmd('qa!')
