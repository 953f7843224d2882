-- tarvisk-cli eval against the shared reference run (shipsem.lua): for every script, the same
-- keys with the same values, the same calls in the same order, and the same load or run error.
-- eval's values are read back with Lua and printed as shipsem prints them, so that the two forms
-- (shortest exact numbers and table constructors against %.12g and <table>) can be compared.
--   lua5.1 eval_vs_shipsem.lua SHIPSEM CLI FILE...
local shipsem, cli = arg[1], arg[2]

local function sh(s) return "'" .. s:gsub("'", "'\\''") .. "'" end
local function lines(cmd)
  local p = io.popen(cmd)
  local out = {}
  for l in p:lines() do out[#out + 1] = l end
  p:close()
  return out
end

-- shipsem's own form of a value.
local SHIP = {}
local function fmtv(v, first)
  if v == SHIP then return first and "T" or "<table>" end
  local t = type(v)
  if t == "number" then
    if v == math.floor(v) and math.abs(v) < 1e15 then return string.format("%d", v) end
    return string.format("%.12g", v)
  elseif t == "string" then
    if v:sub(1, 2) == "\0<" then return v:sub(2) end  -- a value eval shows as <function> etc.
    return string.format("%q", v)
  elseif t == "boolean" then return tostring(v)
  elseif t == "table" then return "<table>"
  elseif v == nil then return "nil" end
  return "<" .. t .. ">"
end

-- eval's text of values read back as Lua values; "<function>" and the like stay as they are.
local function values(text)
  local f = loadstring("return " .. text:gsub("<(%a+)>", '"\\0<%1>"'))
  if not f then return nil end
  setfenv(f, { NewShipType = SHIP })
  return { n = select("#", f()), f() }
end

local failures = 0
for i = 3, #arg do
  local path = arg[i]
  local want = {}
  for _, l in ipairs(lines("lua5.1 " .. sh(shipsem) .. " " .. sh(path))) do
    if l:sub(1, 3) == "!! " then
      want[#want + 1] = "!! " .. l:sub(4):gsub("^.-:(%d+):", "%1:")
    elseif l:sub(1, 3) ~= "== " then
      want[#want + 1] = l
    end
  end
  local got, err = {}, {}
  local out = lines(sh(cli) .. " eval " .. sh(path) .. " 2>/dev/null")
  for _, l in ipairs(lines(sh(cli) .. " eval " .. sh(path) .. " 2>&1 >/dev/null")) do
    err[#err + 1] = "!! " .. l:gsub("^.-:(%d+): error: ", "%1: ")
  end
  local keys, calls, byString = {}, {}, {}
  for _, l in ipairs(out) do
    local k, v = l:match("^([%a_][%w_]*) = (.*)$")
    if not k then k, v = l:match("^(%b[]) = (.*)$") end
    if k then
      local key = k
      if k:sub(1, 1) == "[" then key = values(k:sub(2, -2))[1] end
      local val = values(v)
      local form = val and fmtv(val[1]) or v
      keys[#keys + 1] = { tostring(key), form, type(key) == "string" }
      if type(key) == "string" then byString[key] = form end
    else
      local name, args = l:match("^([^(]*)%((.*)%)$")
      local vs = args and values(args)
      if vs then
        local parts = {}
        for j = 1, vs.n do parts[j] = fmtv(vs[j], j == 1) end
        calls[#calls + 1] = "C " .. name .. "(" .. table.concat(parts, ", ") .. ")"
      else
        calls[#calls + 1] = "C ?? " .. l
      end
    end
  end
  -- shipsem looks every key up by its text: a key that is not a string shows the value of the
  -- string key with the same text, or nil.
  for _, kv in ipairs(keys) do
    if not kv[3] then kv[2] = byString[kv[1]] or "nil" end
  end
  table.sort(keys, function(a, b) return a[1] < b[1] end)
  -- shipsem: its error first (it prints it before the results), then keys, then calls.
  for _, e in ipairs(err) do got[#got + 1] = e end
  for _, kv in ipairs(keys) do got[#got + 1] = "K " .. kv[1] .. " = " .. kv[2] end
  for _, c in ipairs(calls) do got[#got + 1] = c end
  local a, b = table.concat(want, "\n"), table.concat(got, "\n")
  if a ~= b then
    failures = failures + 1
    print("DIFFERS: " .. path)
    print("-- shipsem.lua:\n" .. a .. "\n-- tarvisk-cli eval:\n" .. b)
  end
end
print(string.format("eval against shipsem.lua: %d scripts, %d differ", #arg - 2, failures))
os.exit(failures == 0 and 0 or 1)
