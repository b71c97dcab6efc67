-- A Neovim session as an author's editor: attaches the built-in LSP client to
-- `tindel-author lsp`, opens a quest, and writes what it received to a report, one fact a line:
--   diagnostic LINE COL SEVERITY MESSAGE   (lines and columns from 1, columns in characters)
--   definition LINE COL                    (where "go to definition" left the cursor)
--   references COUNT
--   symbol NAME LINE
--   rename LINE TEXT                       (each line the rename changed, as it reads after)
--   syntax GROUP                           (the Vim syntax group under a label)
-- Every wait is bounded, so a server that hangs or dies gives an incomplete report, not a hang.
local server = os.getenv('TINDEL_AUTHOR')
local quest = os.getenv('QUEST')
local report_path = os.getenv('REPORT')
local lines = {}
local function say(...) table.insert(lines, table.concat({ ... }, ' ')) end
local function finish()
  local file = io.open(report_path, 'w')
  file:write(table.concat(lines, '\n') .. '\n')
  file:close()
  vim.cmd('qa!')
end

-- The quest is kept in Windows-1251 with CR LF line ends, as authors keep theirs.
vim.o.fileencodings = 'cp1251'
vim.o.fileformats = 'dos'
vim.cmd('filetype on')
vim.cmd('syntax on')
vim.cmd('edit ' .. vim.fn.fnameescape(quest))
local buf = vim.api.nvim_get_current_buf()

local client_id = vim.lsp.start_client({
  name = 'tindel',
  cmd = { server, 'lsp' },
  root_dir = vim.fn.fnamemodify(quest, ':h'),
  init_options = { codepage = 'w' },
})
if not client_id then
  say('error could not start the server')
  finish()
end
vim.lsp.buf_attach_client(buf, client_id)

local got = vim.wait(10000, function() return #vim.diagnostic.get(buf) > 0 end, 20)
if not got then say('error no diagnostics arrived') end
local function characters(row, byte_col)
  local text = vim.api.nvim_buf_get_lines(buf, row, row + 1, false)[1] or ''
  return vim.fn.strchars(text:sub(1, byte_col))
end
for _, d in ipairs(vim.diagnostic.get(buf)) do
  say('diagnostic', d.lnum + 1, characters(d.lnum, d.col) + 1, d.severity, d.message)
end

-- Go to definition from the label after the first "goto".
vim.fn.cursor(1, 1)
vim.fn.search('\\<goto\\s\\+\\zs\\S')
local start = vim.api.nvim_win_get_cursor(0)
vim.lsp.buf.definition()
vim.wait(5000, function()
  local now = vim.api.nvim_win_get_cursor(0)
  return now[1] ~= start[1] or now[2] ~= start[2]
end, 20)
local landed = vim.api.nvim_win_get_cursor(0)
say('definition', landed[1], characters(landed[1] - 1, landed[2]) + 1)
say('syntax', vim.fn.synIDattr(vim.fn.synID(landed[1], landed[2] + 1, 1), 'name'))

-- References of the label the cursor now stands on.
local params = vim.lsp.util.make_position_params()
params.context = { includeDeclaration = true }
local answers = vim.lsp.buf_request_sync(buf, 'textDocument/references', params, 5000) or {}
for _, answer in pairs(answers) do say('references', #(answer.result or {})) end

local symbols = vim.lsp.buf_request_sync(buf, 'textDocument/documentSymbol',
  { textDocument = vim.lsp.util.make_text_document_params() }, 5000) or {}
for _, answer in pairs(symbols) do
  for _, symbol in ipairs(answer.result or {}) do
    say('symbol', symbol.name, symbol.selectionRange.start.line + 1)
  end
end

-- Rename the label through the client's own edit machinery.
local rename = vim.lsp.util.make_position_params()
rename.newName = 'сад'
local edits = vim.lsp.buf_request_sync(buf, 'textDocument/rename', rename, 5000) or {}
for _, answer in pairs(edits) do
  if answer.result then vim.lsp.util.apply_workspace_edit(answer.result, 'utf-16') end
end
for row, text in ipairs(vim.api.nvim_buf_get_lines(buf, 0, -1, false)) do
  if text:find('сад', 1, true) then say('rename', row, text) end
end

vim.lsp.stop_client(client_id)
vim.wait(3000, function() return vim.lsp.client_is_stopped(client_id) end, 20)
finish()
