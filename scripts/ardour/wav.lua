-- Minimal RIFF/WAVE reading and writing for the Ardour round trip.
-- Reads integer PCM (8, 16, 24, 32 bit) and IEEE float (32, 64 bit); writes 32-bit float.
-- Integer samples are scaled by 1 / 2^(bits-1), the same power-of-two scaling that
-- libsndfile applies, so a file converted here and one read by a host agree bit for bit.

local wav = {}

local CHUNK = 4096 -- samples unpacked per string.unpack call

local function fail(path, why)
  error(string.format("%s: %s", path, why), 0)
end

-- Returns { rate, channels, frames, data = { [1] = {...}, [2] = {...} } }, one array of
-- Lua numbers per channel (values exactly as 32-bit floats would hold them).
function wav.read(path)
  local f = io.open(path, "rb")
  if not f then fail(path, "cannot open") end
  local bytes = f:read("a")
  f:close()
  if #bytes < 12 or bytes:sub(1, 4) ~= "RIFF" or bytes:sub(9, 12) ~= "WAVE" then
    fail(path, "not a RIFF/WAVE file")
  end

  local format, channels, rate, bits, dataStart, dataSize
  local pos = 13
  while pos + 8 <= #bytes + 1 do
    local id = bytes:sub(pos, pos + 3)
    local size = string.unpack("<I4", bytes, pos + 4)
    local body = pos + 8
    if id == "fmt " then
      if size < 16 then fail(path, "short fmt chunk") end
      format, channels, rate = string.unpack("<I2I2I4", bytes, body)
      bits = string.unpack("<I2", bytes, body + 14)
      if format == 0xFFFE and size >= 40 then
        -- WAVE_FORMAT_EXTENSIBLE: the real format is the first two bytes of the GUID.
        format = string.unpack("<I2", bytes, body + 24)
      end
    elseif id == "data" then
      dataStart = body
      -- Files still being written may carry a size larger than what is there.
      dataSize = math.min(size, #bytes - body + 1)
      break
    end
    pos = body + size + (size % 2)
  end
  if not format then fail(path, "no fmt chunk") end
  if not dataStart then fail(path, "no data chunk") end
  if channels < 1 then fail(path, "no channels") end

  local code, scale
  if format == 1 and bits == 8 then
    code, scale = "B", nil
  elseif format == 1 and bits == 16 then
    code, scale = "i2", 1.0 / 32768.0
  elseif format == 1 and bits == 24 then
    code, scale = "i3", 1.0 / 8388608.0
  elseif format == 1 and bits == 32 then
    code, scale = "i4", 1.0 / 2147483648.0
  elseif format == 3 and bits == 32 then
    code, scale = "f", 1.0
  elseif format == 3 and bits == 64 then
    code, scale = "d", 1.0
  else
    fail(path, string.format("unsupported sample format %d with %d bits", format, bits))
  end

  local width = bits // 8
  local frames = dataSize // (width * channels)
  local total = frames * channels
  local data = {}
  for c = 1, channels do data[c] = {} end

  local p = dataStart
  local done = 0
  while done < total do
    local n = math.min(CHUNK, total - done)
    local values = table.pack(string.unpack("<" .. string.rep(code, n), bytes, p))
    p = values[n + 1]
    for k = 1, n do
      local v = values[k]
      if scale == nil then
        v = (v - 128) / 128.0
      else
        v = v * scale
      end
      -- Round through a 32-bit float, as the host's buffers hold it (float files are there).
      if code ~= "f" then v = string.unpack("<f", string.pack("<f", v)) end
      local i = done + k - 1
      local frame = i // channels + 1
      data[i % channels + 1][frame] = v
    end
    done = done + n
  end
  return { rate = rate, channels = channels, frames = frames, data = data }
end

-- Writes channels (arrays of numbers, all the same length) as a 32-bit float WAVE file,
-- all of them or their first `frames` frames.
function wav.write(path, rate, channels, frames)
  local nch = #channels
  frames = frames or #channels[1]
  local f = io.open(path, "wb")
  if not f then fail(path, "cannot create") end
  local dataBytes = frames * nch * 4
  f:write("RIFF", string.pack("<I4", 4 + (8 + 16) + (8 + 4) + (8 + dataBytes)), "WAVE")
  f:write("fmt ", string.pack("<I4I2I2I4I4I2I2", 16, 3, nch, rate, rate * nch * 4, nch * 4, 32))
  f:write("fact", string.pack("<I4I4", 4, frames))
  f:write("data", string.pack("<I4", dataBytes))
  local buf = {}
  local frame = 1
  while frame <= frames do
    local last = math.min(frames, frame + CHUNK - 1)
    local n = 0
    for i = frame, last do
      for c = 1, nch do
        n = n + 1
        buf[n] = channels[c][i]
      end
    end
    for k = n + 1, #buf do buf[k] = nil end
    f:write(string.pack("<" .. string.rep("f", n), table.unpack(buf, 1, n)))
    frame = last + 1
  end
  f:close()
end

return wav
