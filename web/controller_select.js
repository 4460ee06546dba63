// A selector of the controller table's entries (the module's, from the worker's start
// reply): one <optgroup> per vendor in the table's order, each option the companion's
// --controller name, its tooltip the chips and the clock to type.
export function FillControllerSelect(select, list) {
  select.replaceChildren();
  const groups = new Map();
  for (const entry of list) {
    if (!groups.has(entry.vendor)) {
      const group = document.createElement('optgroup');
      group.label = entry.vendor;
      groups.set(entry.vendor, group);
      select.appendChild(group);
    }
    const option = new Option(entry.name, entry.name);
    option.title = `${entry.chips}: ${entry.clock}`;
    groups.get(entry.vendor).appendChild(option);
  }
}

// Leaves shown the options whose name, vendor or chips hold query (any case, spaces
// around it ignored), and the chosen one whatever it is, so that filtering never
// changes the request; a vendor's group hides with its last option. The count of
// options shown.
export function FilterControllerSelect(select, list, query) {
  const wanted = query.trim().toLowerCase();
  const entries = new Map(list.map((entry) => [entry.name, entry]));
  let shown = 0;
  for (const group of select.querySelectorAll('optgroup')) {
    let any = false;
    for (const option of group.querySelectorAll('option')) {
      const entry = entries.get(option.value);
      const text = entry ? `${entry.name} ${entry.vendor} ${entry.chips}`.toLowerCase() : option.value;
      option.hidden = !(wanted === '' || text.includes(wanted) || option.value === select.value);
      any = any || !option.hidden;
      shown += option.hidden ? 0 : 1;
    }
    group.hidden = !any;
  }
  return shown;
}
