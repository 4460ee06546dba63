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
