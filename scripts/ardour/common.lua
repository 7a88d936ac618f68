-- Pieces shared by the two Ardour stages (create, then reload and render).
-- Loaded with dofile; the job table comes from the job file written by run-in-ardour.

local common = {}

function common.die(fmt, ...)
  io.stderr:write("run-in-ardour: ", string.format(fmt, ...), "\n")
  -- A Lua error leaves the Lua session tool with status 0; leave with our own code instead.
  os.exit(3, true)
end

function common.say(job, fmt, ...)
  if not job.quiet then print(string.format(fmt, ...)) end
end

function common.start_engine(job)
  local backend = AudioEngine:set_backend("None (Dummy)", "", "")
  if backend == nil or backend:isnil() then common.die("Ardour has no dummy audio backend") end
end

-- The one stereo track the session holds.
function common.find_track(job)
  local route = Session:route_by_name(job.track_name)
  if route:isnil() then common.die("the session has no track %q", job.track_name) end
  local track = route:to_track()
  if track:isnil() then common.die("%q is not a track", job.track_name) end
  return track
end

-- The plug-in insert on the track, or nil when the track has none.
function common.find_insert(track)
  local i = 0
  while true do
    local proc = track:nth_plugin(i)
    if proc:isnil() then return nil end
    local insert = proc:to_insert()
    if not insert:isnil() and insert:plugin(0):name() == "Nimbrel" then return proc, insert end
    i = i + 1
  end
end

-- Every parameter as the plug-in answers it, one "index name value" line each, with
-- enough digits to tell any two 32-bit floats apart.
-- The LV2 plug-in's parameters are its first 68 ports; the ports after them are no parameters.
function common.write_values(path, proc, insert, job)
  local plugin = insert:plugin(0)
  local f = io.open(path, "w")
  if not f then common.die("cannot write %s", path) end
  local count = job and job.lv2 and 68 or plugin:parameter_count()
  for i = 0, count - 1 do
    local value, ok = ARDOUR.LuaAPI.get_processor_param(proc, i, true)
    f:write(string.format("%d %s %.9g\n", i, plugin:parameter_label(i), value))
  end
  local preset = plugin:last_preset()
  f:write(string.format("preset %s\n", preset.valid and preset.label or "-"))
  f:close()
end

-- The bounced (or placeholder) region's mono source files, left channel first.
function common.source_paths(region)
  local audio = region:to_audioregion()
  local paths = {}
  for c = 0, audio:n_channels() - 1 do
    paths[#paths + 1] = region:source(c):to_filesource():path()
  end
  return paths
end

-- A tail that rings out, as nimbrel render lets it: the render goes on in blocks of 512
-- frames past the end of the input until a block ends a second in which both channels
-- stayed below 1e-5 (as a 32-bit float), and stops after at most max_ring_out seconds.
common.max_ring_out = 30
function common.ring_out_length(channels, input_frames, total, rate)
  local silence = string.unpack("<f", string.pack("<f", 1e-5))
  local left, right = channels[1], channels[#channels]
  local quiet, position = 0, 0
  while position < total do
    local stop = math.min(position + 512, total)
    for i = position + 1, stop do
      if math.abs(left[i]) < silence and math.abs(right[i]) < silence then quiet = quiet + 1 else quiet = 0 end
    end
    position = stop
    if position >= input_frames and quiet >= rate then return position end
  end
  return total
end

return common
